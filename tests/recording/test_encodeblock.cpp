// EncodeBlock with stand-in encoders: files left, progress, the encoder window, every failure.
#include "recording/encodeblock.h"

#include "app/globals.h"
#include "platform/text/textfile.h"
#include "recording/encoderprocess.h"
#include "recording/encoderwindow.h"
#include "recording/monitor.h"
#include "recording/recordingrun.h"
#include "settings/setup.h"
#include "support/fakemain.h"
#include "support/fakevoice.h"
#include "support/fixture.h"
#include "support/jobs.h"
#include "support/scripted.h"
#include "support/testdata.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Writes its name into the file after "-o" or "wave:", else into its last argument.
const char *const kWritesOutput = R"sh(for a; do
  [ "$prev" = "-o" ] && out="$a"; case "$a" in wave:*) out="${a#wave:}";; esac; prev="$a"; last="$a"
done
basename "$0" > "${out:-$last}")sh";

class EncodeBlockTest : public QuenvaleTest
{
protected:
    void SetUp() override
    {
        QuenvaleTest::SetUp();
        dir.setPath(home() + u"/Книга"_s);
        dir.mkpath(dir.path());
        paths = encoders::blockPaths(dir.path(), u"0001"_s, u"Книга"_s, false);
        CurTextPath = testdata::path(u"hameleon.txt"_s);
        for (const char *name : {"lame", "oggenc", "madplay", "sox", "ffmpeg"})
            encoder(name, kWritesOutput);
        encoder("wav2vmo", R"(echo wav2vmo > "${1%.wav}.vmo")");
    }

    static void write(const QString &path, const QByteArray &data, bool runs = false)
    {
        ASSERT_TRUE(textfile::writeBytes(path, data));
        if (runs)
            QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
    }
    // A stand-in encoder in the program folder, found before the real one on PATH.
    void encoder(const char *name, const char *body)
    {
        write(home() + u'/' + QLatin1String(name), "#!/bin/sh\n" + QByteArray(body) + '\n', true);
    }
    // The book folder's files, each with what it holds.
    QStringList book()
    {
        QStringList files = dir.entryList(QDir::Files, QDir::Name);
        for (QString &file : files)
            file += u'=' + QString::fromUtf8(textfile::readBytes(dir.filePath(file)).value_or("")).trimmed();
        return files;
    }
    std::unique_ptr<BlockEncoding> encode(int format, bool keepMp3 = false, bool keepWav = false)
    {
        write(paths.wav, "wav");
        setup().SSTab1->setCurrentIndex(format);
        setup().Check7->setChecked(keepMp3);
        setup().Check8->setChecked(keepWav);
        monitor().setWindowTitle(u"before"_s);
        return waitFor(EncodeBlock(paths, u"0001"_s, nullptr));
    }

    QDir dir;
    encoders::BlockPaths paths;
};

} // namespace

TEST_F(EncodeBlockTest, FilesLeftPerFormatAndKeepChoicesThenTheProgress)
{
    const std::tuple<int, bool, bool, QStringList> cases[] = {
        {encoders::Wav, true, true, {u"0001.wav=wav"_s}},
        {encoders::Mp3, true, true, {u"0001.mp3=lame"_s}},
        {encoders::Ogg, false, true, {u"0001.ogg=oggenc"_s}},
        {encoders::Amr, false, true, {u"0001.amr=sox"_s}},
        {encoders::Amr, true, false, {u"0001.amr=sox"_s, u"0001.mp3=lame"_s}},
        {encoders::Vmo, false, true, {u"0001.vmo=wav2vmo"_s, u"0001.wav=wav"_s}},
        {encoders::Vmo, true, false, {u"0001.vmo=wav2vmo"_s}},
        {encoders::Wma, true, false, {u"0001.wma=ffmpeg"_s}},
        {encoders::Wma, false, true, {u"0001.wav=wav"_s, u"0001.wma=ffmpeg"_s}},
    };
    for (const auto &[format, keepMp3, keepWav, left] : cases) {
        SCOPED_TRACE(format);
        for (const QString &file : dir.entryList(QDir::Files))
            dir.remove(file);
        EXPECT_TRUE(encode(format, keepMp3, keepWav)->ok());
        EXPECT_EQ(book(), left);
        EXPECT_TRUE(monitor().windowTitle().endsWith(u"% выполнено"_s));
    }
    EXPECT_TRUE(scriptedPrompter().asked.isEmpty());
    EXPECT_FALSE(encoderWindow().isVisible());
    // A program-folder file that may not run is no encoder.
    write(home() + u"/notrun"_s, "#!/bin/sh\n");
    EXPECT_TRUE(encoderprocess::locate(u"notrun"_s).isEmpty());
}

TEST_F(EncodeBlockTest, FailingEncoderKeepsTheWavStopsAndSaysWhy)
{
    // No body: the program is nowhere.
    const std::tuple<int, const char *, const char *, QString> cases[] = {
        {encoders::Vmo, "wav2vmo", nullptr, "программа wav2vmo не найдена ни в папке программы, ни в PATH"},
        {encoders::Mp3, "lame",
         R"(printf '\033[Klame: unrecognized option --bad\033[A\n' >&2; echo >&2; exit 1)",
         "lame: unrecognized option --bad"},
        {encoders::Ogg, "oggenc", "exit 3", "код завершения 3"},
        {encoders::Wma, "ffmpeg", "kill -9 $$", "аварийное завершение"},
        {encoders::Mp3, "lame", "for a; do out=$a; done; : > \"$out\"",
         u"выходной файл "_s + paths.mp3 + u" не создан"_s},
        // The user is never shown the temporary name, which no longer exists.
        {encoders::Mp3, "lame",
         "for a; do out=$a; done; echo \"lame: cannot write $out: No space\" >&2; exit 1",
         u"lame: cannot write "_s + paths.mp3 + u": No space"_s},
        {encoders::Amr, "sox", "echo 'sox FAIL formats: cannot open' >&2; exit 2",
         "sox FAIL formats: cannot open"},
        // lame's last figures run straight into its error.
        {encoders::Mp3, "lame",
         R"(printf '  kbps  LR  MS  %%\n 128.0 100.0 34.5 21.1 44.4Error writing mp3 output' >&2; exit 1)",
         "Error writing mp3 output"},
        {encoders::Mp3, "lame", "echo '3 frames 2.5 kbit/s' >&2; exit 1", "3 frames 2.5 kbit/s"},
        // One figure as well: a column's last, or a fraction run into the words.
        {encoders::Mp3, "lame", R"(printf '   0.0           Error writing mp3 output' >&2; exit 1)",
         "Error writing mp3 output"},
        {encoders::Mp3, "lame", R"(printf '0.0Error writing mp3 output' >&2; exit 1)",
         "Error writing mp3 output"},
    };
    for (const auto &[format, program, body, reason] : cases) {
        SCOPED_TRACE(program);
        SetUp();
        if (body)
            encoder(program, body);
        else
            QFile::remove(home() + u'/' + QLatin1String(program));
        const auto encoding = encode(format);
        EXPECT_FALSE(encoding->ok());
        EXPECT_FALSE(StopFlag) << "a failure is no stop of the user's";
        EXPECT_TRUE(scriptedPrompter().asked.isEmpty()); // the command tells it once its job is over
        EXPECT_EQ(
            encoding->failure(),
            u"Программа %1 не смогла преобразовать блок 0001; звуковой файл блока сохранён.\n%2: %3"_s.arg(
                QLatin1String(program), paths.wav, reason));
        // Nothing half-made is left, the AMR road's MP3 neither, and the progress waits.
        EXPECT_EQ(dir.entryList(QDir::Files), QStringList{u"0001.wav"_s});
        EXPECT_EQ(monitor().windowTitle(), u"before"_s);
        TearDown();
    }
    // A write that failed for want of room says so: procfs stands in for a full disk.
    SetUp();
    paths.mp3 = u"/proc/0001.mp3"_s;
    encoder("lame", "echo 'Error writing mp3 output' >&2; exit 1");
    EXPECT_EQ(encode(encoders::Mp3)->failure().section(u'\n', 1),
              paths.wav + u": Error writing mp3 output (нет места на диске)"_s);
    // An encoder Debian ships that this machine lacks: the package to install is named.
    SetUp();
    QFile::remove(home() + u"/oggenc"_s);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", home().toUtf8());
    EXPECT_EQ(encode(encoders::Ogg)->failure().section(u'\n', 1),
              paths.wav + u": программа oggenc не найдена ни в папке программы, ни в PATH; "
                          u"её устанавливает пакет vorbis-tools"_s);
    qputenv("PATH", path);
}

TEST_F(EncodeBlockTest, EncoderWindowShowsTheRunAndClosingTheMonitorEndsIt)
{
    FakeMain main;
    setup().Check1->setChecked(false);
    monitor().button(5)->setChecked(true);
    encoder(
        "ffmpeg",
        R"(for a; do out=$a; done; echo partial > "$out"; printf '\033[Kwor\033[1;5Hking\033[A\n'; exec sleep 30)");
    // Leaving the program ends the encoder and removes its output at once: the exit does not
    // come back to the wait.
    const QString partial = encoders::temporaryName(paths.wma);
    bool madeThenRemoved = false;
    QTimer::singleShot(300, [&] {
        const bool made = QFileInfo(partial).size() > 0;
        monitor().closeClicked();
        madeThenRemoved = made && !QFileInfo::exists(partial);
    });

    EXPECT_FALSE(encode(encoders::Wma)->ok());
    EXPECT_TRUE(madeThenRemoved);
    EXPECT_TRUE(encoderWindow().isVisible());
    EXPECT_EQ(encoderWindow().text(), u"%1/ffmpeg -y -i %2 -c:a wmav2 %3\nworking\n"_s.arg(
                                          home(), paths.wav, encoders::temporaryName(paths.wma)));
    EXPECT_FALSE(encoderprocess::running());
    EXPECT_EQ(main.ends, 1);
    EXPECT_TRUE(scriptedPrompter().asked.isEmpty()); // leaving the program is no failure to report
    EXPECT_EQ(book(), QStringList{u"0001.wav=wav"_s});
}

// A run that failed in block 2, or was ended or stopped there, leaves no block 2 behind: the
// next run makes it and takes block 1 as done.
TEST_F(EncodeBlockTest, AmrBookCutInBlockTwoIsMadeWholeByTheNextRun)
{
    FakeMain main;
    setup().Check1->setChecked(false);
    setup().Text28->setText(home());
    setup().SSTab1->setCurrentIndex(encoders::Amr);
    CurTextPath = home() + u"/Книга.txt"_s;
    BookTitle = u"Книга"_s;
    BlockLimit = 99999999;
    textfile::writeLines(CurTextPath, {u"Один."_s, u"@@@@@"_s, u"Два."_s, u"@@@@@"_s, u"Три."_s});
    // Then the user closes the program while the encoder works, or stops the recording while the
    // encoder hangs: after a short grace it is ended as at the exit, and never gets to go on.
    enum class End
    {
        Fails,
        Closed,
        Stopped,
    };
    const QString hangsOn = home() + u"/went_on"_s;
    const QByteArray hangs = "case \"$*\" in *0002*) sleep 20; touch " + hangsOn.toUtf8() + ";; esac";
    const std::tuple<const char *, QByteArray, End> cases[] = {
        {"sox", "case \"$1\" in *0002*) exit 2;; esac", End::Fails},
        {"madplay", hangs, End::Closed},
        {"madplay", hangs, End::Stopped},
    };
    const auto record = [] { return waitFor(recordingrun::recordBook(recordingrun::currentCut(), nullptr)); };
    for (const auto &[program, body, how] : cases) {
        SCOPED_TRACE(int(how));
        QDir(home() + u"/!Книга"_s).removeRecursively();
        encoder(program, (body + '\n' + kWritesOutput).constData());
        QString stage;
        if (how == End::Closed)
            QTimer::singleShot(500, [] { monitor().closeClicked(); });
        if (how == End::Stopped)
            QTimer::singleShot(500, [&stage] {
                monitor().abortClicked();
                stage = monitor().stage();
            });
        // Leaving the program or stopping ends the recording as a stop, with nothing to tell.
        EXPECT_EQ(record()->result().outcome,
                  how == End::Fails ? conversion::Outcome::Failed : conversion::Outcome::Stopped);
        EXPECT_FALSE(QFileInfo::exists(hangsOn));
        EXPECT_EQ(stage, how == End::Stopped ? u"Запись останавливается..."_s : QString());
        EXPECT_TRUE(scriptedPrompter().asked.isEmpty());
        EXPECT_EQ(QDir(home() + u"/Книга"_s).entryList(QDir::Files, QDir::Name),
                  QStringList({u"0001.amr"_s, u"0002.wav"_s}));

        encoder(program, kWritesOutput);
        StopFlag = false;
        fakeVoices().log.spoken.clear();
        EXPECT_TRUE(record()->result().finished);
        QStringList spoken;
        for (const auto &s : fakeVoices().log.spoken)
            spoken << QFileInfo(s.outputFile).fileName();
        EXPECT_EQ(spoken, QStringList({u"0002.part.wav"_s, u"0003.part.wav"_s}));
        EXPECT_EQ(QDir(home() + u"/!Книга"_s).entryList(QDir::Files, QDir::Name),
                  QStringList({u"0001.amr"_s, u"0002.amr"_s, u"0003.amr"_s}));
    }
}
