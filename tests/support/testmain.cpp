// Test entry point: an offscreen QApplication, a fresh program folder and store, scripted services.
#include "support/scripted.h"

#include "platform/text/programfolder.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("QUENVALE_HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.path() + QStringLiteral("/config"));
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quenvale"));
    QApplication::setApplicationName(QStringLiteral("Quenvale"));
    programfolder::reset();
    testing::InitGoogleTest(&argc, argv);
    installScriptedServices();
    const int rc = RUN_ALL_TESTS();
    services::clear();
    return rc;
}
