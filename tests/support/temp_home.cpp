#include "tests/support/temp_home.h"

#include <QDir>

namespace vembra::test {

TempHome::TempHome() : m_oldData(qgetenv("XDG_DATA_HOME")), m_oldConfig(qgetenv("XDG_CONFIG_HOME"))
{
    QDir(m_dir.path()).mkpath(QStringLiteral("data"));
    QDir(m_dir.path()).mkpath(QStringLiteral("config"));
    qputenv("XDG_DATA_HOME", dataHome().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", configHome().toLocal8Bit());
}

TempHome::~TempHome()
{
    qputenv("XDG_DATA_HOME", m_oldData);
    qputenv("XDG_CONFIG_HOME", m_oldConfig);
}

QString TempHome::dataHome() const
{
    return m_dir.path() + QStringLiteral("/data");
}

QString TempHome::configHome() const
{
    return m_dir.path() + QStringLiteral("/config");
}

} // namespace vembra::test
