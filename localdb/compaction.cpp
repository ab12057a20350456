#include "localdb/compaction.h"

#include "app/dm/local_connections.h"
#include "platform/sqlite/sqlite_database.h"
#include "platform/sqlite/sqlite_statement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <stdexcept>
#include <system_error>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace vembra {

namespace {

std::string native(const QString& path)
{
    return QDir::toNativeSeparators(path).toStdString();
}

// Makes the file's bytes (or a folder's entries) durable before anything depends on them.
void syncToDisk(const QString& path, bool isFolder)
{
#ifdef Q_OS_WIN
    if (isFolder)
        return; // a rename on NTFS is journaled; there is no folder handle to flush
    HANDLE h = CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw std::runtime_error("Cannot open " + native(path) + " to flush it");
    const BOOL ok = FlushFileBuffers(h);
    CloseHandle(h);
    if (!ok)
        throw std::runtime_error("Cannot flush " + native(path));
#else
    const int fd = ::open(QFile::encodeName(path).constData(), isFolder ? O_RDONLY : O_RDWR);
    if (fd < 0)
        throw std::runtime_error("Cannot open " + native(path) + " to flush it");
    const int rc = ::fsync(fd);
    ::close(fd);
    if (rc != 0)
        throw std::runtime_error("Cannot flush " + native(path));
#endif
}

std::filesystem::path fsPath(const QString& path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(QDir::toNativeSeparators(path).toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

void checkCompactedCopy(const QString& temp)
{
    const auto db = openWorkingDatabase(temp);
    sqlite::Statement check = db->prepare("PRAGMA quick_check");
    if (!check.step() || check.textAt(0) != "ok")
        throw std::runtime_error("The compacted copy " + native(temp) + " is damaged.");
}

} // namespace

void compactWorkingDatabase(const QString& source, const QString& temp)
{
    // A copy left by an interrupted run goes first, with any journal SQLite kept beside it.
    for (const QString& suffix :
         {QString(), QStringLiteral("-journal"), QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        const QString leftOver = temp + suffix;
        if (QFileInfo::exists(leftOver) && !QFile::remove(leftOver))
            throw std::runtime_error("Cannot delete " + native(leftOver));
    }
    {
        const auto db = openWorkingDatabase(source);
        sqlite::Statement vacuum = db->prepare("VACUUM INTO :target");
        vacuum.bind(":target", native(temp));
        try {
            vacuum.execute();
        } catch (...) {
            QFile::remove(temp);
            throw;
        }
    }
    try {
        checkCompactedCopy(temp);
        syncToDisk(temp, false);
        std::error_code error;
        std::filesystem::rename(fsPath(temp), fsPath(source), error);
        if (error)
            throw std::runtime_error("Cannot replace " + native(source) + ": " + error.message());
    } catch (...) {
        QFile::remove(temp);
        throw;
    }
    syncToDisk(QFileInfo(source).absolutePath(), true);
}

} // namespace vembra
