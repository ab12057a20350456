#include "app/about/version_data.h"

#include "app/about/version_config.h"

#include <utility>

#ifdef Q_OS_WIN
#include <windows.h>
#include <winver.h>

#include <string>
#include <vector>
#endif

namespace vembra {

namespace {

constexpr Translation kBuiltInTranslation{0x0409, 0x04E4};

std::uint32_t highLow(std::uint16_t high, std::uint16_t low)
{
    return (std::uint32_t{high} << 16) | low;
}

#ifdef Q_OS_WIN
// Reads the resource of a file with the Windows version API; false when it has none.
bool readWindowsResource(const QString& programFile, VersionResource& resource)
{
    const std::wstring path = programFile.toStdWString();
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    if (size == 0)
        return false;
    std::vector<unsigned char> data(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data()))
        return false;
    void* value = nullptr;
    UINT length = 0;
    if (VerQueryValueW(data.data(), L"\\", &value, &length) && length >= sizeof(VS_FIXEDFILEINFO)) {
        const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
        resource.productVersionMS = fixed->dwProductVersionMS;
        resource.productVersionLS = fixed->dwProductVersionLS;
    }
    if (VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", &value, &length)) {
        const auto* words = static_cast<const WORD*>(value);
        for (UINT i = 0; i + 1 < length / sizeof(WORD); i += 2)
            resource.translations.append({words[i], words[i + 1]});
    }
    const char* names[] = {kProductNameValue, kCompanyNameValue, kLegalCopyrightValue,
                           kCommentsValue};
    for (const Translation& translation : resource.translations) {
        for (const char* name : names) {
            const QString key = stringValuePath(translation, QString::fromLatin1(name));
            const std::wstring query = key.toStdWString();
            if (VerQueryValueW(data.data(), query.c_str(), &value, &length) && length > 0) {
                const auto* text = static_cast<const wchar_t*>(value);
                resource.strings.insert(key, QString::fromWCharArray(text, int(length) - 1));
            }
        }
    }
    return true;
}
#endif

} // namespace

QString stringValuePath(Translation translation, const QString& name)
{
    const QString digits =
        QStringLiteral("%1%2")
            .arg(QString::number(translation.language, 16).rightJustified(4, QLatin1Char('0')),
                 QString::number(translation.codePage, 16).rightJustified(4, QLatin1Char('0')))
            .toUpper();
    return QStringLiteral("\\StringFileInfo\\") + digits + QLatin1Char('\\') + name;
}

QString GetVersionString(const VersionResource& resource, const QString& Name)
{
    if (resource.translations.isEmpty())
        return {};
    return resource.strings.value(stringValuePath(resource.translations.first(), Name));
}

QString buildText(const VersionResource& resource)
{
    const auto part = [](std::uint32_t word, int shift) {
        return QString::number((word >> shift) & 0xFFFFu);
    };
    return QStringLiteral("Build: ") + part(resource.productVersionMS, 16) + QLatin1Char('.') +
           part(resource.productVersionMS, 0) + QLatin1Char('.') +
           part(resource.productVersionLS, 16) + QLatin1Char('.') +
           part(resource.productVersionLS, 0);
}

VersionResource builtInVersionResource()
{
    using namespace about_config;
    VersionResource resource;
    resource.productVersionMS = highLow(kVersionMajor, kVersionMinor);
    resource.productVersionLS = highLow(kVersionPatch, kVersionTweak);
    resource.translations.append(kBuiltInTranslation);
    const std::pair<const char*, const char*> values[] = {
        {kProductNameValue, kProductName},
        {kCompanyNameValue, kCompanyName},
        {kLegalCopyrightValue, kLegalCopyright},
        {kCommentsValue, kComments},
    };
    for (const auto& [name, text] : values)
        resource.strings.insert(stringValuePath(kBuiltInTranslation, QString::fromLatin1(name)),
                                QString::fromUtf8(text));
    return resource;
}

VersionResource readVersionResource([[maybe_unused]] const QString& programFile)
{
#ifdef Q_OS_WIN
    VersionResource resource;
    if (readWindowsResource(programFile, resource))
        return resource;
#endif
    return builtInVersionResource();
}

} // namespace vembra
