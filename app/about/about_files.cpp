#include "app/about/about_files.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <stdexcept>

namespace vembra {

QStringList splitLines(const QString& text)
{
    if (text.isEmpty())
        return {};
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(lineBreak);
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QStringList readLicenseLines(const QString& folder)
{
    QFile file(QDir(folder).filePath(QString::fromLatin1(kLicenseFileName)));
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return {};
    return splitLines(QString::fromUtf8(file.readAll()));
}

std::optional<QImage> LoadLogo(const QString& folder)
{
    const QString path = QDir(folder).filePath(QString::fromLatin1(kLogoBitmapFileName));
    if (!QFile::exists(path))
        return std::nullopt;
    QImage image;
    if (!image.load(path, "BMP"))
        throw std::runtime_error(QStringLiteral("The logo %1 holds no readable bitmap")
                                     .arg(QDir::toNativeSeparators(path))
                                     .toStdString());
    return image;
}

} // namespace vembra
