// EncodeBlock with stand-in encoders in the program folder: the files each format leaves,
// the progress update, the encoder window and every way an encoder can fail.
#include "recording/encodeblock.h"

#include "app/globals.h"
#include "recording/encoderprocess.h"
#include "recording/encoderwindow.h"
#include "recording/monitor.h"
#include "settings/setup.h"
#include "support/fakemain.h"
#include "support/fixture.h"
#include "support/scripted.h"
#include "support/testdata.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTime>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Writes "encoded by <name>" to the file it is told to make: after "-o", after "wave:", or
// else its last argument.
const char *const kWritesOutput = R"sh(out=""; prev=""
for a in "$@"; do
  [ "$prev" = "-o" ] && out="$a"
  case "$a" in wave:*) out="${a#wave:}";; esac
  prev="$a"
done
[ -z "$out" ] && for a in "$@"; do out="$a"; done
echo "encoded by $(basename "$0")" > "$out"
)sh";

class EncodeBlockTest : public QuenvaleTest
{
protected:
    void SetUp() override
    {
        QuenvaleTest::SetUp();
        book = home() + u"/книги/Книга"_s;
        QDir().mkpath(book);
        paths = encoders::blockPaths(book, u"0001"_s, u"Книга"_s, false);
        writeFile(paths.wav, "RIFF");
        CurTextPath = testdata::path(u"hameleon.txt"_s);
        CharsDone = 100;
        StartTime = QTime::currentTime().msecsSinceStartOfDay() / 1000.0 - 10;
        for (const char *name : {"lame", "oggenc", "madplay", "sox", "ffmpeg"})
            encoder(name, kWritesOutput);
        encoder("wav2vmo", R"(echo vmo > "${1%.wav}.vmo")");
    }

    static void writeFile(const QString &path, const QByteArray &data)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << qPrintable(path);
        f.write(data);
    }

    // A stand-in encoder in the program folder, found before the real one on PATH.
    void encoder(const char *name, const char *body)
    {
        const QString path = home() + u'/' + QLatin1String(name);
        writeFile(path, "#!/bin/sh\n" + QByteArray(body));
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
    }

    QStringList bookFiles() const { return QDir(book).entryList(QDir::Files, QDir::Name); }

    static QByteArray contents(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QString book;
    encoders::BlockPaths paths;
};

} // namespace

TEST_F(EncodeBlockTest, FilesLeftPerFormatAndKeepChoices)
{
    const struct
    {
        int format;
        bool keepMp3;
        bool keepWav;
        QStringList left;
        QByteArray madeBy; // what made the last file listed
    } cases[] = {
        {encoders::Wav, true, true, {u"0001.wav"_s}, "RIFF"},
        {encoders::Mp3, true, true, {u"0001.mp3"_s}, "encoded by lame\n"},
        {encoders::Ogg, false, true, {u"0001.ogg"_s}, "encoded by oggenc\n"},
        {encoders::Amr, false, true, {u"0001.amr"_s}, "encoded by sox\n"},
        {encoders::Amr, true, false, {u"0001.amr"_s, u"0001.mp3"_s}, "encoded by lame\n"},
        {encoders::Vmo, false, false, {u"0001.vmo"_s}, "vmo\n"},
        {encoders::Vmo, false, true, {u"0001.vmo"_s, u"0001.wav"_s}, "RIFF"},
        {encoders::Wma, true, false, {u"0001.wma"_s}, "encoded by ffmpeg\n"},
        {encoders::Wma, false, true, {u"0001.wav"_s, u"0001.wma"_s}, "encoded by ffmpeg\n"},
    };
    ::Setup &s = setup();
    for (const auto &c : cases) {
        for (const QString &f : bookFiles())
            QFile::remove(book + u'/' + f);
        writeFile(paths.wav, "RIFF");
        s.SSTab1->setCurrentIndex(c.format);
        s.Check7->setChecked(c.keepMp3);
        s.Check8->setChecked(c.keepWav);
        monitor().setWindowTitle(u"before"_s);

        EXPECT_TRUE(EncodeBlock(paths, u"0001"_s)) << c.format;
        EXPECT_EQ(bookFiles(), c.left) << c.format << " keepMp3 " << c.keepMp3 << " keepWav " << c.keepWav;
        EXPECT_EQ(contents(book + u'/' + c.left.last()), c.madeBy) << c.format;
        // The progress is brought up to date once per block, with or without an encoder.
        EXPECT_TRUE(monitor().windowTitle().endsWith(u"% выполнено"_s)) << c.format;
    }
    EXPECT_TRUE(scriptedPrompter().asked.isEmpty());
    EXPECT_FALSE(StopFlag);
}

TEST_F(EncodeBlockTest, FailingEncoderKeepsTheWavAndStopsTheRecording)
{
    const struct
    {
        const char *name;
        int format;
        const char *program; // replaced by `body`, or removed when there is none
        const char *body;
        const char *reason;
    } cases[] = {
        {"missing", encoders::Vmo, "wav2vmo", nullptr,
         "программа wav2vmo не найдена ни в папке программы, ни в PATH"},
        {"error exit", encoders::Mp3, "lame",
         "echo 'Encoding 0001.wav' >&2; echo 'lame: unrecognized option --bad' >&2; echo '' >&2; exit 1",
         "lame: unrecognized option --bad"},
        {"silent error exit", encoders::Ogg, "oggenc", "exit 3", "код завершения 3"},
        {"crash", encoders::Wma, "ffmpeg", "kill -9 $$", "аварийное завершение"},
        {"no output", encoders::Wma, "ffmpeg", "exit 0", "не создан"},
        {"empty output", encoders::Mp3, "lame", "for a; do out=$a; done; : > \"$out\"", "не создан"},
        {"last step", encoders::Amr, "sox", "echo 'sox FAIL formats: cannot open output' >&2; exit 2",
         "sox FAIL formats: cannot open output"},
    };
    for (const auto &c : cases) {
        SetUp();
        const QString program = home() + u'/' + QLatin1String(c.program);
        if (c.body)
            encoder(c.program, c.body);
        else
            QFile::remove(program);
        setup().SSTab1->setCurrentIndex(c.format);
        monitor().setWindowTitle(u"before"_s);

        EXPECT_FALSE(EncodeBlock(paths, u"0001"_s)) << c.name;
        EXPECT_TRUE(StopFlag) << c.name;
        ASSERT_EQ(scriptedPrompter().asked.size(), 1) << c.name;
        const ScriptedPrompter::Asked &said = scriptedPrompter().asked[0];
        EXPECT_EQ(said.icon, Prompter::Icon::Critical);
        EXPECT_TRUE(said.text.startsWith(
            QStringLiteral("Программа %1 не смогла преобразовать блок 0001").arg(QLatin1String(c.program))))
            << qPrintable(said.text);
        EXPECT_TRUE(said.text.contains(paths.wav)) << qPrintable(said.text);
        EXPECT_TRUE(said.text.contains(QString::fromUtf8(c.reason)))
            << c.name << ": " << qPrintable(said.text);
        // The WAV stays for a later run; nothing half-made looks like a finished block.
        EXPECT_TRUE(QFile::exists(paths.wav)) << c.name;
        for (const QString &f : bookFiles())
            EXPECT_TRUE(f == u"0001.wav"_s || (c.format == encoders::Amr && f == u"0001.mp3"_s))
                << c.name << ": " << qPrintable(f);
        EXPECT_EQ(monitor().windowTitle(), u"before"_s) << c.name;
        TearDown();
    }
}

TEST_F(EncodeBlockTest, EncoderWindowFollowsTheMonitorButtonAtEachRun)
{
    setup().SSTab1->setCurrentIndex(encoders::Mp3);
    ASSERT_TRUE(EncodeBlock(paths, u"0001"_s));
    EXPECT_FALSE(encoderWindow().isVisible());

    writeFile(paths.wav, "RIFF");
    monitor().button(5)->setChecked(true);
    ASSERT_TRUE(EncodeBlock(paths, u"0001"_s));
    EXPECT_TRUE(encoderWindow().isVisible());
    const QString shown = encoderWindow().text();
    EXPECT_TRUE(shown.startsWith(home() + u"/lame -b128"_s)) << qPrintable(shown);
    EXPECT_TRUE(shown.contains(u"--ta \"\" --tt \"\" --tg 101 "_s + paths.wav + u' ' +
                               encoders::temporaryName(paths.mp3)))
        << qPrintable(shown);
}

TEST_F(EncodeBlockTest, ClosingTheMonitorEndsTheEncoderAndRemovesItsPartialOutput)
{
    FakeMain main;
    encoder("ffmpeg", R"(for a; do out=$a; done; echo partial > "$out"; exec sleep 30)");
    setup().SSTab1->setCurrentIndex(encoders::Wma);
    setup().Check1->setChecked(false);
    QTimer::singleShot(300, [] { monitor().closeClicked(); });
    QElapsedTimer clock;
    clock.start();

    EXPECT_FALSE(EncodeBlock(paths, u"0001"_s));
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_FALSE(encoderprocess::running());
    EXPECT_EQ(main.ends, 1);
    EXPECT_TRUE(scriptedPrompter().asked.isEmpty()); // leaving the program is no failure to report
    EXPECT_EQ(bookFiles(), QStringList{u"0001.wav"_s});
}
