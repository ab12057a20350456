#pragma once

#include <QLocale>

namespace vembra::test {

// Makes a locale the default for the lifetime of the object.
class LocaleGuard {
public:
    explicit LocaleGuard(const QLocale& locale) : m_old(QLocale()) { QLocale::setDefault(locale); }
    ~LocaleGuard() { QLocale::setDefault(m_old); }
    LocaleGuard(const LocaleGuard&) = delete;
    LocaleGuard& operator=(const LocaleGuard&) = delete;

    static QLocale decimalComma() { return QLocale(QLocale::German, QLocale::Germany); }
    static QLocale fullStop() { return QLocale(QLocale::English, QLocale::UnitedStates); }

private:
    QLocale m_old;
};

} // namespace vembra::test
