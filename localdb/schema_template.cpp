#include "localdb/schema_template.h"

#include "platform/sqlite/sqlite_database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace vembra {

void createWorkingDatabase(const QString& path, const QString& schemaSql)
{
    if (QFileInfo::exists(path))
        throw std::runtime_error("File exists: " + QDir::toNativeSeparators(path).toStdString());
    const std::string file = QDir::toNativeSeparators(path).toStdString();
    try {
        sqlite::Database db(file, sqlite::Database::Mode::ReadWriteCreate);
        db.exec("PRAGMA journal_mode = DELETE");
        sqlite::Transaction tx(db);
        db.exec(schemaSql.toStdString());
        tx.commit();
    } catch (...) {
        QFile::remove(path);
        throw;
    }
}

bool installDefaultDatabase(const QString& templatePath, const QString& target)
{
    if (QFileInfo::exists(target))
        return false;
    QDir().mkpath(QFileInfo(target).absolutePath());
    // Copy beside the target first, then rename, so a half-written copy never stands as the
    // default database.
    const QString partial = target + QStringLiteral(".part");
    QFile::remove(partial);
    QFile source(templatePath);
    if (!source.copy(partial))
        throw std::runtime_error("Cannot copy " +
                                 QDir::toNativeSeparators(templatePath).toStdString() + " to " +
                                 QDir::toNativeSeparators(target).toStdString() + ": " +
                                 source.errorString().toStdString());
    QFile::setPermissions(partial, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                       QFile::ReadOther);
    if (!QFile::rename(partial, target)) {
        QFile::remove(partial);
        if (!QFileInfo::exists(target))
            throw std::runtime_error("Cannot create " +
                                     QDir::toNativeSeparators(target).toStdString());
        return false;
    }
    return true;
}

} // namespace vembra
