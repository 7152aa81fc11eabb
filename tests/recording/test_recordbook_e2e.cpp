// A book recorded to MP3 by a separate process with the real voice and encoder: stopped, killed, resumed.
#include "platform/text/textcodec.h"
#include "platform/text/textfile.h"
#include "support/mediacheck.h"
#include "support/testdata.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringEncoder>
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

    // `parts` stretches of about `chars` characters of the novel from line `from` on, split by
    // chapter markers: one block each.
    QString writeBook(const QString &name, int parts, int chars, qsizetype from = 200)
    {
        const QStringList lines = textfile::splitLines(testdata::text(u"kapitanskaya_dochka.txt"_s));
        QStringList book;
        qsizetype line = from, size = 0;
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

    // Runs the recorder on `book` (none: a batch over the working folder) to its end, or kills it
    // the moment `killWhen` holds; its exit code. The messages it showed are in `messages`.
    int record(const QString &book, const QStringList &extra = {}, const std::function<bool()> &killWhen = {})
    {
        QProcess p;
        start(p, book, extra);
        QElapsedTimer clock;
        clock.start();
        while (killWhen && p.state() == QProcess::Running && !killWhen() && clock.elapsed() < 300000)
            QThread::msleep(2);
        if (killWhen) {
            EXPECT_EQ(p.state(), QProcess::Running);
            ::kill(pid_t(p.processId()), SIGKILL);
        }
        return finish(p);
    }
    // Starts the recorder as record() does, without waiting for it.
    void start(QProcess &p, const QString &book, const QStringList &extra = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"QUENVALE_HOME"_s, home.filePath(u"program"_s));
        env.insert(u"XDG_CONFIG_HOME"_s, home.filePath(u"config"_s));
        p.setProcessEnvironment(env);
        const QStringList what = book.isEmpty() ? QStringList{u"--batch"_s} : QStringList{book};
        p.start(QStringLiteral(QUENVALE_RECORD_TOOL),
                what + QStringList{folder, u"--minutes"_s, u"60"_s} + extra);
        EXPECT_TRUE(p.waitForStarted());
    }
    // Waits for a started recorder to end, as record() does.
    int finish(QProcess &p)
    {
        EXPECT_TRUE(p.waitForFinished(600000));
        const QByteArray errors = p.readAllStandardError();
        std::fputs(errors.constData(), stderr);
        messages.clear();
        for (const QString &line : (u'\n' + QString::fromUtf8(errors)).split(u"\nmessage: "_s).mid(1))
            messages << line.trimmed();
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

    // A stand-in for an encoder in the program folder that fails once, on the first file
    // whose command line holds `failOn`, and otherwise runs the real one.
    void failOnce(const QString &encoder, const QString &failOn)
    {
        const QString path = home.filePath(u"program/"_s + encoder), failed = home.filePath(u"failed"_s);
        const QString script =
            u"#!/bin/sh\ncase \"$*\" in *%1*) [ -e %2 ] || { touch %2; echo \"cannot encode\" "
            u">&2; exit 1; } ;; esac\nexec %3 \"$@\"\n"_s.arg(failOn, failed,
                                                              QStandardPaths::findExecutable(encoder));
        ASSERT_TRUE(QDir().mkpath(home.filePath(u"program"_s)) &&
                    textfile::writeBytes(path, script.toUtf8()));
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
    }
    QList<double> seconds(const QString &bookFolder) const
    {
        QList<double> out;
        for (const QString &name : files(bookFolder))
            out << mediacheck::probe(folder + u'/' + bookFolder + u'/' + name).seconds;
        return out;
    }

    QTemporaryDir home;
    QString output; // what the last run printed
    const QString folder = home.filePath(u"work"_s);
    QStringList messages;
};

} // namespace

// Stopped in block 3, then killed in block 4: the third run, of the book saved otherwise, makes
// the rest and keeps what was made.
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

    // Saved meanwhile in UTF-8 with Linux line ends and no last one: the same text, cut the
    // same way, so the run goes on without a question.
    QString text = textfile::readText(book).value_or(QString());
    text.replace(u"\r\n"_s, u"\n"_s).chop(1);
    ASSERT_TRUE(textfile::writeBytes(book, textcodec::encode(text, textcodec::Encoding::Utf8)));
    EXPECT_EQ(record(book), 0);
    EXPECT_TRUE(messages.isEmpty()) << messages.join(u'\n').toStdString();
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

    // A failure, told, and no stop.
    EXPECT_EQ(record(book, wav + QStringList{u"--purge-in-block"_s, u"2"_s}), 0);
    EXPECT_TRUE(messages.value(0).startsWith(u"Не удалось записать звуковой файл блока\n"_s))
        << messages.join(u'\n').toStdString();
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

// Hameleon with Linux line ends, in Windows-1251 and in UTF-8, at 1-minute blocks: cut into the
// blocks of its CR LF twin with the same text copies (each in its book's encoding), the book
// file left as it was.
TEST_F(RecordBookProcess, LfBookIsRecordedAsItsCrLfTwinAndLeftAsItIs)
{
    const QByteArray crLf = textfile::readBytes(testdata::path(u"hameleon.txt"_s)).value_or(QByteArray());
    const QByteArray lf = QByteArray(crLf).replace("\r\n", "\n").replace('\r', '\n');
    const QString utf8 = textcodec::decode(lf, textcodec::Encoding::Windows1251);
    const std::tuple<QString, QByteArray, textcodec::Encoding> books[] = {
        {u"crlf"_s, crLf, textcodec::Encoding::Windows1251},
        {u"lf"_s, lf, textcodec::Encoding::Windows1251},
        {u"lf_utf8"_s, textcodec::encode(utf8, textcodec::Encoding::Utf8), textcodec::Encoding::Utf8},
    };
    const QStringList options = {u"--minutes"_s, u"1"_s, u"--text-copies"_s};
    QStringList twinFiles;
    QStringList twinCopies; // the CR LF book's copies as text
    for (const auto &[name, bytes, encoding] : books) {
        SCOPED_TRACE(name.toStdString());
        const QString path = home.filePath(name + u".txt"_s);
        ASSERT_TRUE(textfile::writeBytes(path, bytes));
        EXPECT_EQ(record(path, options), 0);
        EXPECT_EQ(textfile::readBytes(path), bytes);
        const QString done = folder + u"/!"_s + name + u'/';
        const QStringList made = QDir(done).entryList(QDir::Files, QDir::Name);
        QStringList copies;
        for (const QString &file : made) {
            if (file.endsWith(u".mp3"_s)) {
                const mediacheck::Mp3Check c = mediacheck::probe(done + file);
                EXPECT_TRUE(c.valid && c.seconds < 100) << file.toStdString() << ": " << c.seconds;
                continue;
            }
            const QByteArray copy = textfile::readBytes(done + file).value_or(QByteArray());
            if (!twinCopies.isEmpty()) {
                EXPECT_EQ(copy, textcodec::encode(twinCopies.value(copies.size()), encoding))
                    << file.toStdString();
            }
            copies << textcodec::decode(copy, encoding);
        }
        if (twinFiles.isEmpty()) {
            // About a minute a block, and no heading's capitals spread over the text.
            ASSERT_GE(made.size(), 2 * 5);
            EXPECT_TRUE(copies.join(QString()).contains(u"Через базарную площадь"_s));
            twinFiles = made;
            twinCopies = copies;
        }
        EXPECT_EQ(made, twinFiles);
    }
}

// Stopped at 1-minute blocks, then recorded at 2: the old blocks go aside and the book is cut
// anew, as a recording at 2 minutes from the start cuts it.
TEST_F(RecordBookProcess, ResumedAtAnotherBlockLengthStartsTheBookAnewAndKeepsTheOldBlocks)
{
    const QString book = writeBook(u"Хамелеон"_s, 1, 2400);
    EXPECT_EQ(record(book, {u"--minutes"_s, u"1"_s, u"--stop-at-block"_s, u"3"_s}), 1);
    const QString plain = folder + u"/Хамелеон/"_s;
    ASSERT_EQ(files(u"Хамелеон"_s), QStringList({u"0001.mp3"_s, u"0002.mp3"_s}));
    const QByteArray first = mediacheck::digest(plain + u"0001.mp3"_s);

    EXPECT_EQ(record(book, {u"--minutes"_s, u"2"_s}), 0);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(u"Блоки в папке "_s + plain.chopped(1) +
                                       u" нарезаны не для этой записи: длина блока была"_s))
        << messages[0].toStdString();
    const QString aside = u"Хамелеон (прежние блоки)"_s;
    EXPECT_EQ(files(aside), QStringList({u"0001.mp3"_s, u"0002.mp3"_s}));
    EXPECT_EQ(mediacheck::digest(folder + u'/' + aside + u"/0001.mp3"_s), first);
    const QList<double> anew = seconds(u"!Хамелеон"_s);

    ASSERT_TRUE(QDir().rename(folder + u"/!Хамелеон"_s, home.filePath(u"anew"_s)));
    EXPECT_EQ(record(book, {u"--minutes"_s, u"2"_s}), 0);
    const QList<double> fresh = seconds(u"!Хамелеон"_s);
    ASSERT_EQ(anew.size(), fresh.size());
    EXPECT_GE(fresh.size(), 2);
    for (qsizetype n = 0; n < fresh.size(); ++n)
        EXPECT_NEAR(anew[n], fresh[n], 0.5) << n;
}

// tom.1 fails in block 3; tom.2, of the same title, never resumes its blocks, neither then nor
// once tom.1 is finished, and keeps its text.
TEST_F(RecordBookProcess, BatchRecordsOneBookPerTitle)
{
    failOnce(u"lame"_s, u"0003"_s);
    ASSERT_TRUE(QFile::rename(writeBook(u"tom1"_s, 3, 600), folder + u"/tom.1.txt"_s));
    ASSERT_TRUE(QFile::rename(writeBook(u"tom2"_s, 3, 600, 400), folder + u"/tom.2.txt"_s));
    const QByteArray second = mediacheck::digest(folder + u"/tom.2.txt"_s);

    EXPECT_EQ(record({}), 0);
    // Told once the batch is over.
    EXPECT_EQ(messages,
              QStringList({"Книга tom.1.txt не записана: Программа lame не смогла преобразовать блок "
                           "0003; звуковой файл блока сохранён.\n" +
                           folder +
                           "/tom/0003.wav: cannot encode\nКнига tom.2.txt не записана: у неё то же "
                           "название tom, что у книги tom.1.txt этого пакета; её текст оставлен в "
                           "рабочем каталоге."}));
    // The failed block keeps its speech.
    EXPECT_EQ(files(u"tom"_s), QStringList({u"0001.mp3"_s, u"0002.mp3"_s, u"0003.wav"_s}));
    const QByteArray tom1block1 = mediacheck::digest(folder + u"/tom/0001.mp3"_s);

    EXPECT_EQ(record({}), 0); // tom.1 is finished; tom.2 waits again
    EXPECT_EQ(record({}), 0); // tom.2 alone: the finished tom is another book
    EXPECT_EQ(messages, QStringList({"Книга tom не записана: в готовой папке " + folder +
                                     "/!tom другая книга (текст книги другой); её текст оставлен в рабочем "
                                     "каталоге."}));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList({u"tom.2.txt"_s}));
    EXPECT_EQ(mediacheck::digest(folder + u"/tom.2.txt"_s), second);
    expectBlocks(u"!tom"_s, 3);
    EXPECT_EQ(mediacheck::digest(folder + u"/!tom/0001.mp3"_s), tom1block1);
}

// A batch of one book in Windows-1251, KOI8-R and UTF-16 each: all three are recorded alike,
// their text copies in their own encoding; a book in an encoding the program does not read
// keeps its text, nothing is recorded from it, and the batch names it at its end.
TEST_F(RecordBookProcess, BatchRecordsEachBookInItsOwnEncoding)
{
    using enum textcodec::Encoding;
    QString text = textfile::readText(writeBook(u"source"_s, 2, 300)).value_or(QString());
    text.replace(u'«', u'"').replace(u'»', u'"').replace(u'—', u'-'); // all of KOI8-R
    const std::pair<QString, textcodec::Encoding> books[] = {
        {u"cp1251"_s, Windows1251}, {u"koi8"_s, Koi8r}, {u"utf16"_s, Utf16Le}};
    for (const auto &[name, encoding] : books)
        ASSERT_TRUE(
            textfile::writeBytes(folder + u'/' + name + u".txt"_s, textcodec::encode(text, encoding)));
    const QByteArray iso = QStringEncoder("ISO-8859-5")(text);
    ASSERT_TRUE(textfile::writeBytes(folder + u"/iso.txt"_s, iso));

    EXPECT_EQ(record({}, {u"--text-copies"_s}), 0);
    EXPECT_EQ(messages,
              QStringList(u"Книга iso.txt не записана: Книга в кодировке ISO-8859-5, а программа "
                          u"читает только Windows-1251, UTF-8, UTF-16, KOI8-R и DOS (cp866). Сохраните "
                          u"книгу в одной из них; её текст оставлен в рабочем каталоге."_s));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList(u"iso.txt"_s));
    EXPECT_EQ(textfile::readBytes(folder + u"/iso.txt"_s), iso);
    EXPECT_EQ(QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
              QStringList({u"!cp1251"_s, u"!koi8"_s, u"!utf16"_s}));

    const QStringList made = files(u"!cp1251"_s);
    ASSERT_EQ(made, QStringList({u"0001.mp3"_s, u"0001.txt"_s, u"0002.mp3"_s, u"0002.txt"_s}));
    const auto speech = [this](const QString &done) {
        return QList<double>{mediacheck::probe(folder + u'/' + done + u"/0001.mp3"_s).seconds,
                             mediacheck::probe(folder + u'/' + done + u"/0002.mp3"_s).seconds};
    };
    const QList<double> twin = speech(u"!cp1251"_s);
    EXPECT_TRUE(twin[0] > 10 && twin[1] > 10) << twin[0] << ' ' << twin[1];
    for (const auto &[name, encoding] : books) {
        SCOPED_TRACE(name.toStdString());
        const QString done = u'!' + name;
        ASSERT_EQ(files(done), made);
        for (const QString &copy : {u"/0001.txt"_s, u"/0002.txt"_s}) {
            const QByteArray bytes = textfile::readBytes(folder + u'/' + done + copy).value_or(QByteArray());
            EXPECT_EQ(textcodec::decode(bytes, encoding),
                      textfile::readText(folder + u"/!cp1251"_s + copy).value_or(QString()));
            EXPECT_EQ(textcodec::detect(bytes), encoding);
        }
        const QList<double> took = speech(done);
        for (qsizetype n = 0; n < took.size(); ++n)
            EXPECT_NEAR(took[n], twin[n], 0.1) << n;
    }
}

// A refusal box (the settings' stop pressed in blocks 1 and 2) or a modal dialog left open on
// screen holds nothing: the recording, or the batch with its next book, goes on meanwhile.
TEST_F(RecordBookProcess, ABoxOrDialogLeftOpenHoldsNothing)
{
    const QString book = writeBook(u"Отказ"_s, 3, 300);
    EXPECT_EQ(record(book, {u"--refuse-in-block"_s, u"1"_s}), 0);
    EXPECT_TRUE(output.contains(u"refusal boxes_open 1 modal_ms 0 blocks_after 2"_s)) << output.toStdString();
    expectBlocks(u"!Отказ"_s, 3);

    const QString dialog = writeBook(u"Диалог"_s, 3, 300);
    EXPECT_EQ(record(dialog, {u"--dialog-in-block"_s, u"1"_s}), 0);
    EXPECT_TRUE(output.contains(u"dialog blocks_while_open 2 books_while_open 0"_s)) << output.toStdString();
    expectBlocks(u"!Диалог"_s, 3);

    // Opened in the last block of the batch's first book.
    ASSERT_TRUE(QFile::rename(writeBook(u"a"_s, 2, 300), folder + u"/a.txt"_s));
    ASSERT_TRUE(QFile::rename(writeBook(u"b"_s, 2, 300, 400), folder + u"/b.txt"_s));
    EXPECT_EQ(record({}, {u"--dialog-in-block"_s, u"2"_s}), 0);
    EXPECT_TRUE(output.contains(u"dialog blocks_while_open 2 books_while_open 1"_s)) << output.toStdString();
    expectBlocks(u"!a"_s, 2);
    expectBlocks(u"!b"_s, 2);
}

// A second copy set to another cut starts on the folder of a copy that records it: it moves
// none of the blocks being written but refuses, and the first copy makes its book whole.
TEST_F(RecordBookProcess, AnotherCutNeverTakesTheFolderOfARunningCopy)
{
    const QString book = writeBook(u"Двое"_s, 5, 600), plain = folder + u"/Двое"_s;
    QProcess first;
    start(first, book);
    QElapsedTimer clock;
    clock.start();
    while (!QFileInfo::exists(plain + u"/0001.mp3"_s) && first.state() == QProcess::Running &&
           clock.elapsed() < 300000)
        QThread::msleep(5);
    EXPECT_EQ(record(book, {u"--minutes"_s, u"30"_s}), 0);
    EXPECT_EQ(messages, QStringList(u"Блоки в папке "_s + plain +
                                    u" сейчас записывает другая копия программы. Остановите её и начните "
                                    u"книгу заново."_s));
    EXPECT_EQ(finish(first), 0);
    EXPECT_TRUE(messages.isEmpty()) << messages.join(u'\n').toStdString();
    expectBlocks(u"!Двое"_s, 5);
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList({u"!Двое"_s}));
}

// The listener hears the book, not its markup: a book written with HTML's entities and tags
// and stress accents is recorded as the same book written plainly.
TEST_F(RecordBookProcess, MarkupOfABookIsNotHeard)
{
    const std::pair<QString, QStringList> books[] = {
        {u"marked"_s,
         {u"<h1>Глава первая</h1>"_s,
          u"<p>Он&nbsp;сказал: &laquo;за&#769;мок стоит на горе&raquo;, и д`Артаньян кивнул.</p>"_s,
          u"<p>Руки<br>дрожали&hellip; Мама&nbsp;&mdash; дома, т.е. <<в замке>>.</p>"_s}},
        {u"plain"_s,
         {u"Глава первая"_s, u"Он сказал: «за<мок стоит на горе», и д'Артаньян кивнул."_s,
          u"Руки дрожали… Мама — дома, то есть «в замке»."_s}},
    };
    // The shipped abbreviations, as a program folder holds them.
    const QString dic = home.filePath(u"program/DIC"_s);
    ASSERT_TRUE(QDir().mkpath(dic) &&
                QFile::copy(QStringLiteral(QUENVALE_SHIPPED_DATA "/DIC/abbreviations.txt"),
                            dic + u"/abbreviations.txt"_s));
    QList<QByteArray> made;
    for (const auto &[name, lines] : books) {
        const QString path = home.filePath(name + u".txt"_s);
        ASSERT_TRUE(textfile::writeLines(path, lines));
        ASSERT_EQ(record(path, {u"--format"_s, u"wav"_s}), 0) << messages.join(u'\n').toStdString();
        ASSERT_EQ(files(u'!' + name), QStringList{u"0001.wav"_s});
        made << textfile::readBytes(folder + u"/!"_s + name + u"/0001.wav"_s).value_or(QByteArray());
    }
    EXPECT_GT(made[0].size(), 44 + 2 * 22050); // a few seconds of speech
    EXPECT_EQ(made[0].size(), made[1].size());
    EXPECT_TRUE(made[0] == made[1]);
}
