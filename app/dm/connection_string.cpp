#include "app/dm/connection_string.h"

namespace vembra {

namespace {
constexpr auto kProvider = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=";
constexpr auto kOptions =
    "Mode=ReadWrite|Share Deny None;Persist Security Info=True;Jet OLEDB:Database Password=";
} // namespace

QString localConnectionString(const QString& path, const QString& password)
{
    return QString::fromLatin1(kProvider) + path + QLatin1Char(';') +
           QString::fromLatin1(kOptions) + password + QLatin1Char(';');
}

QString dataSourceOf(const QString& connectionString)
{
    const QString key = QStringLiteral("Data Source=");
    const qsizetype start = connectionString.indexOf(key, 0, Qt::CaseInsensitive);
    if (start < 0)
        return {};
    const qsizetype from = start + key.size();
    const qsizetype end = connectionString.indexOf(QLatin1Char(';'), from);
    return connectionString.mid(from, end < 0 ? -1 : end - from);
}

} // namespace vembra
