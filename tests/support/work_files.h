#pragma once

#include <QByteArray>
#include <QString>

namespace vembra::test {

// The template database the build writes beside the program.
QString templatePath();
// Copies the template to path (the folder is created); fails the test when it cannot.
void copyTemplate(const QString& path);
QByteArray readAll(const QString& path);
void writeAll(const QString& path, const QByteArray& bytes);

} // namespace vembra::test
