#pragma once

#include <QImage>
#include <QStyledItemDelegate>

#include <functional>

namespace vembra {

// Draws every cell of the candidate grid: the header row and the data rows in a raised-button
// look, the selected filled row navy with white text, and the probe icon beside a candidate
// that lies in the chosen probe's area.
class CandidateGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit CandidateGridDelegate(QObject* parent = nullptr);

    // Which icon the candidate with that code gets: 1 i-Vexel, 2 f-Vexel, 0 none.
    std::function<int(const QString& code)> probeIconFor;
    const QImage* iVexelIcon = nullptr;
    const QImage* fVexelIcon = nullptr;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

} // namespace vembra
