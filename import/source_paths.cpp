#include "import/source_paths.h"

#include "import/word_functions.h"

#include <limits>

namespace vembra {

void ToWindowsServerPath(QString& path)
{
    QString result;
    int first = 1;
    if (path.contains(QLatin1Char(':')))
        first = 2;
    else
        result = QStringLiteral("c:");
    const int words = CountWords(path, kPathDelims);
    for (int i = first; i <= words; ++i)
        result += QLatin1Char('\\') + ExtractWord(i, path, kPathDelims);
    path = result.toUpper();
}

void ToLinuxServerPath(QString& path)
{
    const int first = path.contains(QLatin1Char(':')) ? 2 : 1;
    const int words = CountWords(path, kPathDelims);
    QString result;
    for (int i = first; i <= words; ++i) {
        const QString word = ExtractWord(i, path, kPathDelims);
        result += QLatin1Char('/');
        if (i == words)
            result += word.toUpper();
        else
            result += word.left(1).toUpper() + word.mid(1).toLower();
    }
    path = result;
}

bool isLocalSourceServer(const QString& serverField)
{
    return serverField.trimmed().isEmpty() || serverField == QLatin1String("127.0.0.1") ||
           serverField.toLower() == QLatin1String("localhost");
}

PlatformAnswer platformFromImplementation(const QString& implementation,
                                          const QString& serverVersion)
{
    const QString upper = implementation.toUpper();
    if (upper.contains(QLatin1String("WINDOWS")))
        return {kPlatformWindows,
                QStringLiteral("Remote server: Platform: Windows, version: ") + serverVersion};
    if (upper.contains(QLatin1String("LINUX")))
        return {kPlatformLinux,
                QStringLiteral("Remote server: Platform: Linux, version: ") + serverVersion};
    return {};
}

QString settingsDatabaseOf(const QString& connectionString)
{
    const qsizetype at = connectionString.indexOf(QLatin1String(".norv"));
    if (at < 0)
        return {};
    QString name = connectionString;
    name.insert(at, QLatin1String("Settings"));
    return name;
}

bool TestBit(std::int32_t value, int bit)
{
    return bit >= 0 && bit <= 31 && ((std::uint32_t(value) >> bit) & 1u) != 0;
}

std::optional<SettingsFlags> settingsFlags(const QByteArray& blob)
{
    if (blob.size() < 52)
        return std::nullopt;
    const std::int32_t word =
        std::int32_t(std::uint8_t(blob[50])) | (std::int32_t(std::uint8_t(blob[51])) << 8);
    return SettingsFlags{TestBit(word, 5), TestBit(word, 6)};
}

namespace {

std::optional<std::int32_t> wholeNumber(const QString& text)
{
    // Leading blanks and a sign are allowed; nothing may follow the digits.
    qsizetype i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' '))
        ++i;
    const QString rest = text.mid(i);
    if (rest.isEmpty() || rest.back() == QLatin1Char(' '))
        return std::nullopt;
    bool ok = false;
    const int value = rest.toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

} // namespace

std::int32_t ParseConnectNo(const QString& text)
{
    const qsizetype bar = text.indexOf(QLatin1Char('|'));
    const QString a = bar < 0 ? QString() : text.left(bar);
    const QString b = bar < 0 ? text : text.mid(bar + 1);
    const auto va = wholeNumber(a);
    const auto vb = wholeNumber(b);
    if (!va || !vb)
        return 0;
    // 32-bit signed arithmetic that wraps as the original does.
    const std::uint32_t r = (std::uint32_t(*va) - 1u) * 16u + std::uint32_t(*vb);
    return std::int32_t(r);
}

QString destinationNameFromPath(const QString& path)
{
    QString name = path;
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        if (path[i] == QLatin1Char('\\') || path[i] == QLatin1Char('/')) {
            name = path.mid(i + 1);
            break;
        }
    }
    const qsizetype at = name.indexOf(QLatin1String(".norv"));
    if (at >= 0)
        name = name.left(at);
    return name;
}

} // namespace vembra
