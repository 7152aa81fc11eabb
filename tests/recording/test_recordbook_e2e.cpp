// A book recorded to MP3 by a separate process with the real voice and encoder: stopped, killed, resumed.
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
#include <functional>

using namespace Qt::StringLiterals;

namespace {

class RecordBookProcess : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(home.isValid() && QDir().mkpath(folder)); }

    // `parts` stretches of about `chars` characters of the novel split by chapter markers: one block each.
    QString writeBook(const QString &name, int parts, int chars)
    {
        const QStringList lines = textfile::splitLines(testdata::text(u"kapitanskaya_dochka.txt"_s));
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
                    book << u"@@@@@"_s;
                size = 0;
            }
        }
        const QString path = home.filePath(name + u".txt"_s);
        EXPECT_TRUE(textfile::writeLines(path, book));
        return path;
    }

    // Runs the recorder to its end, or kills it the moment `killWhen` holds; its exit code.
    int record(const QString &book, const QStringList &extra = {}, const std::function<bool()> &killWhen = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"QUENVALE_HOME"_s, home.filePath(u"program"_s));
        env.insert(u"XDG_CONFIG_HOME"_s, home.filePath(u"config"_s));
        QProcess p;
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(QStringLiteral(QUENVALE_RECORD_TOOL),
                QStringList{book, folder, u"--minutes"_s, u"60"_s} + extra);
        EXPECT_TRUE(p.waitForStarted());
        QElapsedTimer clock;
        clock.start();
        while (killWhen && p.state() == QProcess::Running && !killWhen() && clock.elapsed() < 300000)
            QThread::msleep(2);
        if (killWhen) {
            EXPECT_EQ(p.state(), QProcess::Running);
            ::kill(pid_t(p.processId()), SIGKILL);
        }
        EXPECT_TRUE(p.waitForFinished(600000));
        output = QString::fromUtf8(p.readAllStandardOutput());
        return p.exitCode();
    }
    QStringList files(const QString &bookFolder) const
    {
        return QDir(folder + u'/' + bookFolder).entryList(QDir::Files, QDir::Name);
    }

    // Every block of the folder a valid MP3 of plausible length (about 40 s of speech each).
    void expectBlocks(const QString &bookFolder, int blocks)
    {
        QStringList expected;
        for (int n = 1; n <= blocks; ++n)
            expected << u"%1.mp3"_s.arg(n, 4, 10, QChar(u'0'));
        EXPECT_EQ(files(bookFolder), expected);
        for (const QString &name : expected) {
            const mediacheck::Mp3Check c = mediacheck::probe(folder + u'/' + bookFolder + u'/' + name);
            EXPECT_TRUE(c.valid && c.seconds > 15 && c.seconds < 180)
                << name.toStdString() << ": " << c.seconds << ' ' << c.problem.toStdString();
        }
    }

    QTemporaryDir home;
    QString output; // what the last run printed
    const QString folder = home.filePath(u"work"_s);
};

} // namespace

// Stopped in block 3, then killed in block 4: the third run makes the rest and keeps what was made.
TEST_F(RecordBookProcess, StoppedThenKilledAndRecordedAgainGivesTheWholeBook)
{
    const QString book = writeBook(u"Дочка"_s, 5, 600), plain = folder + u"/Дочка/"_s;
    EXPECT_EQ(record(book, {u"--stop-at-block"_s, u"3"_s}), 1);
    ASSERT_TRUE(QFileInfo::exists(plain + u"0002.mp3"_s));
    EXPECT_FALSE(QFileInfo::exists(plain + u"0003.mp3"_s));
    const QByteArray first = mediacheck::digest(plain + u"0001.mp3"_s);
    const QByteArray second = mediacheck::digest(plain + u"0002.mp3"_s);

    // Killed the moment block 4's encoder is writing; failing that, while block 4 is spoken.
    bool encoding = false;
    record(book, {}, [&] {
        encoding = QFileInfo::exists(plain + u"0004.part.mp3"_s);
        return encoding || QFileInfo::exists(plain + u"0004.part.wav"_s);
    });
    std::printf("killed while block 4 was %s\n", encoding ? "encoded" : "spoken");
    EXPECT_TRUE(QFileInfo::exists(plain + u"0003.mp3"_s));
    EXPECT_FALSE(QFileInfo::exists(plain + u"0004.mp3"_s));

    EXPECT_EQ(record(book), 0);
    expectBlocks(u"!Дочка"_s, 5);
    // The blocks of the first run are kept as they were.
    const QString finished = folder + u"/!Дочка/"_s;
    EXPECT_EQ(mediacheck::digest(finished + u"0001.mp3"_s), first);
    EXPECT_EQ(mediacheck::digest(finished + u"0002.mp3"_s), second);
}

// Killed while the AMR road decodes block 2's MP3 (a madplay of ours waits there to be caught);
// the next run makes block 2 and leaves only the AMR files.
TEST_F(RecordBookProcess, AmrKilledWhileDecodingAndRecordedAgainLeavesEveryAmrBlock)
{
    const QString madplay = home.filePath(u"program/madplay"_s), caught = home.filePath(u"caught"_s);
    const QString script =
        u"#!/bin/sh\ncase \"$*\" in *0002*) [ -e %1 ] || { echo $$ > %1; exec sleep 60; } ;; esac\n"
        u"exec %2 \"$@\"\n"_s.arg(caught, QStandardPaths::findExecutable(u"madplay"_s));
    ASSERT_TRUE(QDir().mkpath(home.filePath(u"program"_s)) && textfile::writeBytes(madplay, script.toUtf8()));
    QFile::setPermissions(madplay, QFile::permissions(madplay) | QFileDevice::ExeOwner);

    const QString book = writeBook(u"Сказ"_s, 3, 300);
    const QStringList amr = {u"--format"_s, u"amr"_s};
    record(book, amr, [&] { return QFileInfo(caught).size() > 0; });
    const int sleeper = textfile::readBytes(caught).value_or("").trimmed().toInt();
    ASSERT_GT(sleeper, 0); // never 0: that would be our own process group
    ::kill(pid_t(sleeper), SIGKILL);

    EXPECT_EQ(record(book, amr), 0);
    EXPECT_EQ(files(u"!Сказ"_s), QStringList({u"0001.amr"_s, u"0002.amr"_s, u"0003.amr"_s}));
}

TEST_F(RecordBookProcess, AnotherVoicesPurgeFailsItsBlockAndASecondRunMakesTheBookWhole)
{
    const QString book = writeBook(u"Помеха"_s, 3, 600);
    const QStringList wav = {u"--format"_s, u"wav"_s};
    EXPECT_EQ(record(book, wav), 0);
    const QString undisturbed = home.filePath(u"undisturbed/"_s);
    ASSERT_TRUE(QDir().rename(folder + u"/!Помеха"_s, undisturbed));

    EXPECT_EQ(record(book, wav + QStringList{u"--purge-in-block"_s, u"2"_s}), 1);
    EXPECT_EQ(files(u"Помеха"_s), QStringList{u"0001.wav"_s});

    EXPECT_EQ(record(book, wav), 0);
    const QStringList names = {u"0001.wav"_s, u"0002.wav"_s, u"0003.wav"_s};
    EXPECT_EQ(files(u"!Помеха"_s), names);
    for (const QString &name : names) {
        const double expected = QFileInfo(undisturbed + name).size();
        EXPECT_GT(expected, 500000) << name.toStdString();
        EXPECT_NEAR(QFileInfo(folder + u"/!Помеха/"_s + name).size(), expected, expected * 0.03)
            << name.toStdString();
    }
}

// The settings' stop pressed in blocks 1 and 2 is refused with one box left open on screen; the
// recording goes on meanwhile and finishes the book.
TEST_F(RecordBookProcess, ARefusalLeftOpenHoldsNothing)
{
    const QString book = writeBook(u"Отказ"_s, 3, 300);
    EXPECT_EQ(record(book, {u"--refuse-in-block"_s, u"1"_s}), 0);
    EXPECT_TRUE(output.contains(u"refusal boxes_open 1 modal_ms 0 blocks_after 2"_s)) << output.toStdString();
    expectBlocks(u"!Отказ"_s, 3);
}
