#include "platform/text/programfolder.h"
#include "platform/text/textfile.h"

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
    ASSERT_TRUE(textfile::writeText(home.filePath(QStringLiteral("dic/Exc_Rus.TXT")), {}));
    EXPECT_EQ(programfolder::file(QStringLiteral("DIC/exc_rus.txt")),
              home.path() + QStringLiteral("/dic/Exc_Rus.TXT"));
    // A name that does not exist yet comes back as given, for creating it.
    EXPECT_EQ(programfolder::file(QStringLiteral("DIC/new.txt")),
              home.path() + QStringLiteral("/dic/new.txt"));
    EXPECT_EQ(programfolder::file(QStringLiteral("BOOKMARK")), home.path() + QStringLiteral("/BOOKMARK"));

    qputenv("QUENVALE_HOME", saved);
    programfolder::reset();
}

// The first-start copy keeps the user's files and names each file it could not copy.
TEST(ProgramFolder, FirstStartCopyKeepsUserFilesAndReportsFailures)
{
    QTemporaryDir from, to;
    ASSERT_TRUE(QDir(from.path()).mkpath(QStringLiteral("DIC")) &&
                QDir(from.path()).mkpath(QStringLiteral("HELP")));
    for (const char *name : {"DIC/a.txt", "DIC/b.txt", "HELP/Help1.rtf"})
        ASSERT_TRUE(textfile::writeText(from.filePath(QString::fromLatin1(name)), QStringLiteral("shipped")));
    ASSERT_TRUE(QDir(to.path()).mkpath(QStringLiteral("DIC")));
    ASSERT_TRUE(textfile::writeText(to.filePath(QStringLiteral("DIC/a.txt")), QStringLiteral("mine")));
    // A file where the HELP folder should be: that folder cannot be made.
    ASSERT_TRUE(textfile::writeText(to.filePath(QStringLiteral("HELP")), {}));

    const QStringList failures = programfolder::copyMissing(from.path(), to.path());
    EXPECT_EQ(failures, QStringList({to.filePath(QStringLiteral("HELP")) +
                                     QStringLiteral(": не удалось создать папку")}));
    EXPECT_EQ(textfile::readText(to.filePath(QStringLiteral("DIC/a.txt"))), QStringLiteral("mine\r\n"));
    EXPECT_TRUE(QFile::exists(to.filePath(QStringLiteral("DIC/b.txt"))));
}
