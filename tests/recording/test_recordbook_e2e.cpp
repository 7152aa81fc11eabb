// A book recorded to MP3 by a separate process with the real voice and encoder: stopped, killed, resumed.
#include "platform/text/cp1251.h"
#include "platform/text/textfile.h"
#include "support/mediacheck.h"
#include "support/testdata.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace {

// `parts` stretches of about `chars` characters of the novel split by chapter markers: one block each.
QStringList chapteredBook(int parts, int chars)
{
    const QStringList lines = textfile::splitLines(testdata::text(QStringLiteral("kapitanskaya_dochka.txt")));
    QStringList book;
    qsizetype line = 200, size = 0;
    for (int part = 0; part < parts && line < lines.size();) {
        const QString &l = lines[line++];
        if (l.trimmed().isEmpty())
            continue;
        book << l;
        size += l.size();
        if (size >= chars) {
            if (++part < parts)
                book << QStringLiteral("@@@@@");
            size = 0;
        }
    }
    return book;
}

using mediacheck::digest;
using mediacheck::Mp3Check;
using mediacheck::probe;

class RecordBookProcess : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        folder = home.filePath(QStringLiteral("work"));
        QDir().mkpath(folder);
    }

    QString writeBook(const QString &name, const QStringList &lines)
    {
        const QString path = home.filePath(name + QStringLiteral(".txt"));
        EXPECT_TRUE(textfile::writeLines(path, lines));
        return path;
    }

    void start(QProcess &p, const QString &book, const QStringList &extra = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QUENVALE_HOME"), home.filePath(QStringLiteral("program")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(QStringLiteral(QUENVALE_RECORD_TOOL),
                QStringList{book, folder, QStringLiteral("--minutes"), QStringLiteral("60")} + extra);
        ASSERT_TRUE(p.waitForStarted());
    }
    int record(const QString &book, const QStringList &extra = {})
    {
        QProcess p;
        start(p, book, extra);
        EXPECT_TRUE(p.waitForFinished(600000));
        return p.exitCode();
    }

    // Every block of the folder a valid MP3 of plausible length (about 40 s of speech each).
    void expectBlocks(const QString &bookFolder, int blocks)
    {
        QStringList expected;
        for (int n = 1; n <= blocks; ++n)
            expected << QStringLiteral("%1.mp3").arg(n, 4, 10, QLatin1Char('0'));
        EXPECT_EQ(QDir(bookFolder).entryList(QDir::Files, QDir::Name), expected);
        for (const QString &name : expected) {
            const Mp3Check c = probe(bookFolder + u'/' + name);
            EXPECT_TRUE(c.valid) << name.toStdString() << ": " << c.problem.toStdString();
            EXPECT_GT(c.seconds, 15) << name.toStdString();
            EXPECT_LT(c.seconds, 180) << name.toStdString();
        }
    }

    QTemporaryDir home;
    QString folder;
};

} // namespace

TEST_F(RecordBookProcess, ThreeBlocksStoppedInTheThirdAndRecordedAgain)
{
    const QString book = writeBook(QStringLiteral("Дочка"), chapteredBook(3, 600));
    EXPECT_EQ(record(book, {QStringLiteral("--stop-at-block"), QStringLiteral("3")}), 1);
    const QString plain = folder + QStringLiteral("/Дочка");
    ASSERT_TRUE(QFileInfo::exists(plain + QStringLiteral("/0002.mp3")));
    EXPECT_FALSE(QFileInfo::exists(plain + QStringLiteral("/0003.mp3")));
    const QByteArray first = digest(plain + QStringLiteral("/0001.mp3"));
    const QByteArray second = digest(plain + QStringLiteral("/0002.mp3"));

    EXPECT_EQ(record(book), 0);
    const QString finished = folder + QStringLiteral("/!Дочка");
    expectBlocks(finished, 3);
    // The blocks of the first run are kept as they were.
    EXPECT_EQ(digest(finished + QStringLiteral("/0001.mp3")), first);
    EXPECT_EQ(digest(finished + QStringLiteral("/0002.mp3")), second);
}

TEST_F(RecordBookProcess, KilledWhileEncodingAndRecordedAgainGivesTheWholeBook)
{
    const QString book = writeBook(QStringLiteral("Обрыв"), chapteredBook(5, 600));
    const QString plain = folder + QStringLiteral("/Обрыв");
    QProcess p;
    start(p, book);
    // Killed the moment block 3's encoder is writing; failing that, while block 3 is spoken.
    QElapsedTimer clock;
    clock.start();
    bool encoding = false;
    while (p.state() == QProcess::Running && clock.elapsed() < 300000) {
        encoding = QFileInfo::exists(plain + QStringLiteral("/0003.part.mp3"));
        if (encoding || QFileInfo::exists(plain + QStringLiteral("/0003.part.wav")))
            break;
        QThread::msleep(2);
    }
    ASSERT_EQ(p.state(), QProcess::Running);
    ::kill(pid_t(p.processId()), SIGKILL);
    p.waitForFinished();
    std::printf("killed while block 3 was %s\n", encoding ? "encoded" : "spoken");
    EXPECT_FALSE(QFileInfo::exists(plain + QStringLiteral("/0003.mp3")));

    EXPECT_EQ(record(book), 0);
    expectBlocks(folder + QStringLiteral("/!Обрыв"), 5);
}

// Killed while the AMR road decodes block 2's MP3 (a madplay of ours waits there to be caught);
// the next run makes block 2 and leaves only the AMR files.
TEST_F(RecordBookProcess, AmrKilledWhileDecodingAndRecordedAgainLeavesEveryAmrBlock)
{
    const QString program = home.filePath(QStringLiteral("program"));
    const QString caught = home.filePath(QStringLiteral("caught"));
    QDir().mkpath(program);
    QFile madplay(program + QStringLiteral("/madplay"));
    ASSERT_TRUE(madplay.open(QIODevice::WriteOnly));
    madplay.write("#!/bin/sh\ncase \"$*\" in *0002*) [ -e " + caught.toUtf8() + " ] || { echo $$ > " +
                  caught.toUtf8() + "; exec sleep 60; } ;; esac\nexec " +
                  QStandardPaths::findExecutable(QStringLiteral("madplay")).toUtf8() + " \"$@\"\n");
    madplay.close();
    madplay.setPermissions(madplay.permissions() | QFileDevice::ExeOwner);

    const QString book = writeBook(QStringLiteral("Сказ"), chapteredBook(3, 300));
    QProcess p;
    start(p, book, {QStringLiteral("--format"), QStringLiteral("amr")});
    QElapsedTimer clock;
    clock.start();
    while (p.state() == QProcess::Running && !QFileInfo(caught).size() && clock.elapsed() < 300000)
        QThread::msleep(5);
    ASSERT_EQ(p.state(), QProcess::Running);
    ::kill(pid_t(p.processId()), SIGKILL);
    p.waitForFinished();
    QFile pid(caught);
    ASSERT_TRUE(pid.open(QIODevice::ReadOnly));
    ::kill(pid_t(pid.readAll().trimmed().toInt()), SIGKILL);

    EXPECT_EQ(record(book, {QStringLiteral("--format"), QStringLiteral("amr")}), 0);
    EXPECT_EQ(QDir(folder + QStringLiteral("/!Сказ")).entryList(QDir::Files, QDir::Name),
              QStringList({QStringLiteral("0001.amr"), QStringLiteral("0002.amr"), QStringLiteral("0003.amr")}));
}

TEST_F(RecordBookProcess, AnotherVoicesPurgeFailsItsBlockAndASecondRunMakesTheBookWhole)
{
    const QString book = writeBook(QStringLiteral("Помеха"), chapteredBook(3, 600));
    const QStringList wav = {QStringLiteral("--format"), QStringLiteral("wav")};
    EXPECT_EQ(record(book, wav), 0);
    const QString undisturbed = folder + QStringLiteral("/!Помеха");
    ASSERT_TRUE(QDir().rename(undisturbed, home.filePath(QStringLiteral("undisturbed"))));

    EXPECT_EQ(record(book, wav + QStringList{QStringLiteral("--purge-in-block"), QStringLiteral("2")}), 1);
    const QString plain = folder + QStringLiteral("/Помеха");
    EXPECT_EQ(QDir(plain).entryList(QDir::Files), QStringList{QStringLiteral("0001.wav")});

    EXPECT_EQ(record(book, wav), 0);
    for (const char *name : {"0001.wav", "0002.wav", "0003.wav"}) {
        SCOPED_TRACE(name);
        const double expected =
            QFileInfo(home.filePath(QStringLiteral("undisturbed/") + QLatin1String(name))).size();
        EXPECT_GT(expected, 500000);
        EXPECT_NEAR(QFileInfo(undisturbed + u'/' + QLatin1String(name)).size(), expected, expected * 0.03);
    }
}
