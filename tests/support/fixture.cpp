#include "support/fixture.h"

#include "app/globals.h"
#include "app/windows.h"
#include "platform/text/programfolder.h"
#include "support/scripted.h"

#include <QDir>
#include <QFile>
#include <QSettings>

#include <unistd.h>

void QuenvaleTest::SetUp()
{
    ASSERT_TRUE(m_home.isValid());
    qputenv("QUENVALE_HOME", m_home.path().toUtf8());
    programfolder::reset();
    const QString config = m_home.path() + QStringLiteral("/config");
    qputenv("XDG_CONFIG_HOME", config.toUtf8());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config);
    installScriptedServices();
    resetGlobals();
}

QString QuenvaleTest::readOnlyFolder()
{
    if (::geteuid() == 0)
        return QStringLiteral("/sys");
    const QString folder = m_home.path() + QStringLiteral("/read-only");
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    return folder;
}

void QuenvaleTest::TearDown()
{
    appwindows::destroyAll();
    resetGlobals();
    programfolder::reset();
}
