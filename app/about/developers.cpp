#include "app/about/developers.h"

#include <QStandardItemModel>

#include <iterator>
#include <stdexcept>

namespace vembra {

namespace {

QStringList rowValues(const DeveloperRow& row)
{
    return {row.Name, row.Prof, row.E_Mail, row.Notes};
}

} // namespace

QList<DeveloperRow> creatorRows()
{
    // The history records one author so far. Its address is longer than the mail field, so it
    // is kept in the notes and the row opens no mail.
    return {
        {QStringLiteral("Seed 4f6928e0 maintainers"), QStringLiteral("Maintainers"), QString(),
         QStringLiteral("maintainers@users.noreply.c-seed-4f6928e0.example")},
    };
}

void fillDevelopers(QStandardItemModel& table, const QList<DeveloperRow>& rows)
{
    constexpr int columns = static_cast<int>(std::size(kDeveloperFields));
    table.clear();
    table.setColumnCount(columns);
    for (int c = 0; c < columns; ++c)
        table.setHeaderData(c, Qt::Horizontal, QString::fromLatin1(kDeveloperFields[c].title));
    for (const DeveloperRow& row : rows) {
        const QStringList values = rowValues(row);
        QList<QStandardItem*> items;
        for (int c = 0; c < columns; ++c) {
            if (values[c].size() > kDeveloperFields[c].size) {
                qDeleteAll(items);
                throw std::invalid_argument(
                    QStringLiteral("Credits row %1: %2 is longer than %3 characters")
                        .arg(table.rowCount() + 1)
                        .arg(QString::fromLatin1(kDeveloperFields[c].name))
                        .arg(kDeveloperFields[c].size)
                        .toStdString());
            }
            auto* item = new QStandardItem(values[c]);
            item->setEditable(false);
            items.append(item);
        }
        table.appendRow(items);
    }
}

std::optional<QUrl> mailtoUrl(const QString& eMail)
{
    if (eMail.isEmpty())
        return std::nullopt;
    return QUrl(QStringLiteral("mailto:") + eMail);
}

} // namespace vembra
