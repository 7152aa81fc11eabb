#include "platform/text/programfolder.h"
#include "platform/text/textfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(ProgramFolder, HomeVariableWinsAndNamesAreMatchedIgnoringCase)
{
    const QByteArray saved = qgetenv("QUENVALE_HOME");
    QTemporaryDir home;
    qputenv("QUENVALE_HOME", home.path().toUtf8());
    programfolder::reset();

    EXPECT_EQ(programfolder::path(), QDir(home.path()).absolutePath());
    ASSERT_TRUE(QDir(home.path()).mkpath(u"dic"_s) &&
                textfile::writeText(home.filePath(u"dic/Exc_Rus.TXT"_s), {}));
    // A name that does not exist yet comes back as given, for creating it.
    EXPECT_EQ(QStringList({programfolder::file(u"DIC/exc_rus.txt"_s), programfolder::file(u"DIC/new.txt"_s),
                           programfolder::file(u"BOOKMARK"_s)}),
              QStringList({home.filePath(u"dic/Exc_Rus.TXT"_s), home.filePath(u"dic/new.txt"_s),
                           home.filePath(u"BOOKMARK"_s)}));
    qputenv("QUENVALE_HOME", saved);
    programfolder::reset();
}

// The first-start copy keeps the user's files and names each file it could not copy.
TEST(ProgramFolder, FirstStartCopyKeepsUserFilesAndReportsFailures)
{
    QTemporaryDir from, to;
    ASSERT_TRUE(QDir(from.path()).mkpath(u"DIC"_s) && QDir(from.path()).mkpath(u"HELP"_s) &&
                QDir(to.path()).mkpath(u"DIC"_s));
    for (const QString &name : {u"DIC/a.txt"_s, u"DIC/b.txt"_s, u"HELP/Help1.rtf"_s})
        ASSERT_TRUE(textfile::writeText(from.filePath(name), u"shipped"_s));
    ASSERT_TRUE(textfile::writeText(to.filePath(u"DIC/a.txt"_s), u"mine"_s));
    // A file where the HELP folder should be: that folder cannot be made.
    ASSERT_TRUE(textfile::writeText(to.filePath(u"HELP"_s), {}));

    EXPECT_EQ(programfolder::copyMissing(from.path(), to.path()),
              QStringList(to.filePath(u"HELP"_s) + u": не удалось создать папку"_s));
    EXPECT_EQ(textfile::readText(to.filePath(u"DIC/a.txt"_s)), u"mine\r\n"_s);
    EXPECT_TRUE(QFile::exists(to.filePath(u"DIC/b.txt"_s)));
}
