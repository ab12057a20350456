#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <optional>

namespace vembra {

// The licence text the About box shows when it lies beside the program.
inline constexpr const char* kLicenseFileName = "license.txt";
// The bitmap that replaces the default logo: it stands for the bitmap "p2" of the resource
// library "Rsgar.dll" of the Windows program.
inline constexpr const char* kLogoBitmapFileName = "Rsgar.bmp";
// The default logo stored with the program.
inline constexpr const char* kDefaultLogoResource = ":/about/about_logo.jpg";

// The lines of a text, as a text file's lines are read: the line break after the last line
// starts no further line, so an empty text has no lines.
QStringList splitLines(const QString& text);

// The lines of the licence file in the folder (UTF-8); none when the file is missing.
QStringList readLicenseLines(const QString& folder);

// The logo bitmap in the folder; none when the file is missing. A file that holds no readable
// picture throws std::runtime_error.
std::optional<QImage> LoadLogo(const QString& folder);

} // namespace vembra
