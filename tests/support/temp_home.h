#pragma once

#include <QString>
#include <QTemporaryDir>

namespace vembra::test {

// Points the user's data and configuration folders (XDG_DATA_HOME, XDG_CONFIG_HOME) at a fresh
// temporary folder for the lifetime of the object.
class TempHome {
public:
    TempHome();
    ~TempHome();

    QString path() const { return m_dir.path(); }
    QString dataHome() const;
    QString configHome() const;

private:
    QTemporaryDir m_dir;
    QByteArray m_oldData;
    QByteArray m_oldConfig;
};

} // namespace vembra::test
