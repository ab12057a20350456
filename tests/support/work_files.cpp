#include "tests/support/work_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace vembra::test {

QString templatePath()
{
    return QStringLiteral(VEMBRA_BIN_DIR) + QStringLiteral("/srcres.dat");
}

void copyTemplate(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile::remove(path);
    ASSERT_TRUE(QFile::copy(templatePath(), path))
        << "cannot copy the template to " << path.toStdString();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

} // namespace vembra::test
