#pragma once

#include <QSettings>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The settings store, opened as the program opens it.
inline QSettings store()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Quenvale"),
                     QStringLiteral("Quenvale"));
}

// The base of every test of windows, settings or globals: each starts with a fresh program folder,
// store, scripted services and globals and no window, so no result depends on the test order.
class QuenvaleTest : public testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // The test's own program folder (QUENVALE_HOME).
    QString home() const { return m_home.path(); }

    // A folder in which no file can be created: "Permission denied". Root ignores folder
    // permissions, so as root it is /sys, which refuses new files to everyone.
    QString readOnlyFolder();

private:
    QTemporaryDir m_home;
};
