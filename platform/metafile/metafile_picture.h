// Map pictures: enhanced or placeable Windows metafiles drawn with QPainter.
#pragma once

#include <QRectF>
#include <QSize>
#include <QString>

#include <cstdint>
#include <memory>
#include <span>

class QPainter;

namespace vembra::metafile {

class DisplayList;

// A metafile picture: an enhanced or placeable Windows metafile parsed once into a display list.
class Picture {
public:
    Picture();
    ~Picture();
    Picture(Picture&&) noexcept;
    Picture& operator=(Picture&&) noexcept;

    // Loads an EMF or a placeable WMF from memory; false (and an empty 0 x 0 picture) when the
    // bytes are not a map picture. Never throws for bad bytes.
    bool loadFromData(std::span<const std::uint8_t> bytes);
    // Loads a picture file; throws std::runtime_error when the file cannot be read, returns
    // false when it is read but is no metafile.
    bool loadFromFile(const QString& path);
    // Makes the picture empty, 0 x 0.
    void clear();
    // True when nothing is loaded.
    bool isEmpty() const;
    // Size in pixels by the size rules, as loaded.
    QSize naturalSize() const;
    // Current display size; equals naturalSize() after a load.
    int width() const;
    int height() const;
    // Sets the display size (the map view sets it when zooming).
    void setWidth(int width);
    void setHeight(int height);
    // Draws the picture stretched into target (coordinates of the painter's current transform).
    void draw(QPainter& painter, const QRectF& target) const;
    // Text dump of the display list, one line per item, for tests and the debug CLI.
    QString dump() const;

private:
    std::unique_ptr<DisplayList> m_list;
    QRectF m_deviceRect; // the picture in metafile device units
    QSize m_naturalSize;
    QSize m_displaySize;
};

} // namespace vembra::metafile
