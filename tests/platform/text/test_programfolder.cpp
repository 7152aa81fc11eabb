#include "platform/text/programfolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(ProgramFolder, HomeVariableWinsAndNamesAreMatchedIgnoringCase)
{
    const QByteArray saved = qgetenv("QUENVALE_HOME");
    QTemporaryDir home;
    qputenv("QUENVALE_HOME", home.path().toUtf8());
    programfolder::reset();

    EXPECT_EQ(programfolder::path(), QDir(home.path()).absolutePath());
    ASSERT_TRUE(QDir(home.path()).mkpath(QStringLiteral("dic")));
    QFile f(home.filePath(QStringLiteral("dic/Exc_Rus.TXT")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_EQ(programfolder::file(QStringLiteral("DIC/exc_rus.txt")), home.path() + QStringLiteral("/dic/Exc_Rus.TXT"));
    // A name that does not exist yet comes back as given, for creating it.
    EXPECT_EQ(programfolder::file(QStringLiteral("DIC/new.txt")), home.path() + QStringLiteral("/dic/new.txt"));
    EXPECT_EQ(programfolder::file(QStringLiteral("BOOKMARK")), home.path() + QStringLiteral("/BOOKMARK"));

    qputenv("QUENVALE_HOME", saved);
    programfolder::reset();
}
