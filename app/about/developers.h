#pragma once

#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

class QStandardItemModel;

namespace vembra {

// One row of the credits list: a person or team, the role, and where mail reaches them.
struct DeveloperRow {
    QString Name;
    QString Prof;
    QString E_Mail;
    QString Notes;
};

// One field of the credits table: its name, its column title and the longest text it holds.
struct DeveloperField {
    const char* name;
    const char* title;
    int size;
};

// The fields of the credits table in column order (Name, Prof, E_Mail, Notes).
inline constexpr DeveloperField kDeveloperFields[] = {
    {"Name", "Full name", 100},
    {"Prof", "Profession", 50},
    {"E_Mail", "E_Mail", 25},
    {"Notes", "", 100},
};
inline constexpr int kEMailColumn = 2;
inline constexpr int kNotesColumn = 3;

// The product's creators by role, as the project's history records them.
QList<DeveloperRow> creatorRows();

// Fills the credits table with the rows, replacing what it held; throws std::invalid_argument
// naming the row and field when a value is longer than its field.
void fillDevelopers(QStandardItemModel& table, const QList<DeveloperRow>& rows);

// The "mailto:" address of a mail field; none for an empty field.
std::optional<QUrl> mailtoUrl(const QString& eMail);

} // namespace vembra
