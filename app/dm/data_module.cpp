#include "app/dm/data_module.h"

#include <QDir>

namespace vembra {

TDM* DM = nullptr;

TDM::TDM()
    : T1(connections, QStringLiteral("tbl_Node")),
      T2(connections, QStringLiteral("tbl_DeviceInfo")), Cmd1(connections), AQ1(connections),
      aQ2(connections)
{
    DS1.dataSet = &T1;
    FDB.setDefaultTransaction(&FTrans);
    FDB.setRole(QString());
    SDB.setDefaultTransaction(&STrans);
}

TDM::~TDM()
{
    releaseLocalFiles();
}

QString TDM::defaultDatabasePath(const QString& appDataDir)
{
    return appDataDir + QStringLiteral("Norv") + QDir::separator() +
           QStringLiteral("VembraNavigator") + QDir::separator() + QStringLiteral("_data.mdb");
}

void TDM::DataModuleCreate(const QString& appDataDir)
{
    buildLocalPassword(m_localPassword);
    buildSystemPassword(m_systemPassword);
    const QString user = QStringLiteral("SYSDBA");
    const QString charset = QStringLiteral("WIN1251");
    FDB.setLogin(user, systemPassword(), charset);
    SDB.setLogin(user, systemPassword(), charset);
    setLocalConnection(defaultDatabasePath(appDataDir));
}

QString TDM::localPassword() const
{
    return QString::fromLatin1(passwordText(m_localPassword));
}

QString TDM::systemPassword() const
{
    return QString::fromLatin1(passwordText(m_systemPassword));
}

void TDM::setLocalConnection(const QString& path)
{
    const QString password = localPassword();
    T1.setConnection(path, password);
    T2.setConnection(path, password);
    Cmd1.setConnection(path, password);
    AQ1.setConnection(path, password);
    aQ2.setConnection(path, password);
}

void TDM::pointLocalComponentsAt(const QString& path)
{
    if (T1.isOpen())
        T1.close();
    if (T2.isOpen())
        T2.close();
    Cmd1.cancel();
    if (AQ1.isOpen())
        AQ1.close();
    if (aQ2.isOpen())
        aQ2.close();
    setLocalConnection(path);
    T1.open();
    T2.open();
}

void TDM::releaseLocalFiles()
{
    T1.disconnect();
    T2.disconnect();
    Cmd1.disconnect();
    AQ1.disconnect();
    aQ2.disconnect();
}

} // namespace vembra
