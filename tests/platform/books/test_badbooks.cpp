// Files that are no book are refused with a word on what they look like; damaged books give
// what can be read and say what could not; the hand-written FB2 reads exactly so.
#include "platform/books/books.h"

#include "platform/text/programfolder.h"
#include "platform/text/textcodec.h"
#include "support/testdata.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>

namespace {

QString ebook(const char *name)
{
    return testdata::path(QStringLiteral("ebooks/") + QString::fromLatin1(name));
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

QString write(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

TEST(HandmadeFb2, ReadsEveryPartInItsPlaceAndTheNotesLast)
{
    const books::Reading reading = books::read(ebook("handmade.fb2"));
    ASSERT_TRUE(reading.ok);
    EXPECT_EQ(reading.title, QStringLiteral("Зимний вечер"));
    EXPECT_EQ(reading.text,
              QStringLiteral("Зимний вечер\nРассказ\n\n"
                             "Буря мглою небо кроет.\nПушкин\n\n"
                             "Глава первая\n\n"
                             "Снег шёл весь день, и к вечеру замело дорогу.\n"
                             "Мы сидели у печки & молчали: «тишина» была полной.\n\n"
                             "Песня\n\n"
                             "Вьюга злая за окном,\nТёплый свет горит.\n\n"
                             "Спит усталый старый дом,\nПечка говорит.\n\n"
                             "Неизвестный\n* * *\nУтро вечера мудренее.\nПословица\n\n"
                             "Глава вторая\n\n"
                             "Наутро выглянуло солнце.\n\n"
                             "Примечания автора\n\n1 Первый снег в том году.\n2 То есть на следующий день."));
}

TEST(Fb2, TakesTheEncodingItsDeclarationNames)
{
    const books::Reading reading = books::read(testdata::path(QStringLiteral("tihiy_dom.fb2")));
    ASSERT_TRUE(reading.ok);
    EXPECT_EQ(reading.title, QStringLiteral("Тихий дом"));
    EXPECT_EQ(reading.text, QStringLiteral("Глава 1\n\nОн сказал: \"Пора\" — и вышел.\nВ доме было тихо.\n\n"
                                           "Глава 2\n\nУтро & вечер."));
}

TEST(SmallEpub, ReadsAsItsText)
{
    const QString path = ebook("small.epub");
    const QByteArray before = bytesOf(path);
    const books::Reading reading = books::read(path);
    ASSERT_TRUE(reading.ok);
    EXPECT_EQ(reading.text, QStringLiteral("Хамелеон\n\nЧерез базарную площадь идет полицейский надзиратель "
                                           "Очумелов в новой шинели и с узелком в руке."));
    EXPECT_EQ(bytesOf(path), before);
}

// The navigation document, pictures, scripts, styles and note references are left out, HTML's
// entities read as their characters, and a document out of the reading order comes last.
TEST(Epub, ReadsTheSpineInReadingOrder)
{
    const books::Reading reading = books::read(ebook("ordered.epub"));
    ASSERT_TRUE(reading.ok) << reading.message.toStdString();
    EXPECT_EQ(reading.title, QStringLiteral("Порядок чтения"));
    EXPECT_EQ(reading.text,
              QStringLiteral("Глава\u00A0первая\n\nБыло\u00A0тихо… — сказал он.\nСтрока\nвторая "
                             "строка\nЦитата\n\n1. Примечание к первой главе."));
}

// Word numbers footnotes and endnotes apart, each from 1 in its own file: both are numbered as
// the text refers to them, and each keeps its own number.
TEST(Docx, NumbersFootnotesAndEndnotesAsTheTextRefersToThem)
{
    const books::Reading reading = books::read(ebook("endnote.docx"));
    ASSERT_TRUE(reading.ok);
    const QString notes = reading.text.section(QStringLiteral("\nПримечания\n\n"), 1);
    EXPECT_TRUE(notes.startsWith(u"2\tна карточную игру у королевы (франц.).\n3\tВы, кажется,"))
        << notes.left(80).toStdString();
    EXPECT_TRUE(notes.endsWith(u"\n14\tпритворством (франц.).\n1\tмосковскую Венеру (франц.)."))
        << notes.right(80).toStdString();
}

struct Refusal
{
    const char *file;
    books::Format format;
    const char *says;
};

void PrintTo(const Refusal &row, std::ostream *out)
{
    *out << row.file;
}

class Refused : public testing::TestWithParam<Refusal>
{
};

TEST_P(Refused, SaysWhyAndLeavesTheFile)
{
    const QString path = ebook(GetParam().file);
    const QByteArray before = bytesOf(path);
    EXPECT_EQ(books::sniff(path), GetParam().format);
    const books::Reading reading = books::read(path);
    EXPECT_FALSE(reading.ok);
    EXPECT_TRUE(reading.text.isEmpty());
    EXPECT_TRUE(reading.message.contains(QString::fromUtf8(GetParam().says)))
        << reading.message.toStdString();
    EXPECT_EQ(bytesOf(path), before);
}

INSTANTIATE_TEST_SUITE_P(
    NoBook, Refused,
    testing::Values(Refusal{"picture.png", books::Format::NoText, "«picture.png» похож на картинку PNG"},
                    Refusal{"pictures.zip", books::Format::NoText, "похож на архив ZIP"},
                    Refusal{"scan.pdf", books::Format::Pdf, "только изображения страниц"},
                    Refusal{"protected.epub", books::Format::Epub, "защищена"}));

TEST(MissingPart, ReadsTheRestAndNamesIt)
{
    const books::Reading reading = books::read(ebook("missing_part.epub"));
    ASSERT_TRUE(reading.ok);
    EXPECT_TRUE(reading.text.contains(u"Очумелов"));
    EXPECT_EQ(reading.message,
              QStringLiteral("В книге «missing_part.epub» нет части «c2.xhtml»: она пропущена."));
}

TEST(DamagedBook, GivesTheReadablePartOrRefuses)
{
    QTemporaryDir dir;
    const QByteArray fb2 = bytesOf(ebook("handmade.fb2"));
    const books::Reading cut =
        books::read(write(dir, QStringLiteral("cut.fb2"), fb2.first(fb2.indexOf("Глава вторая"))));
    ASSERT_TRUE(cut.ok);
    EXPECT_TRUE(cut.text.endsWith(u"Пословица")) << cut.text.right(40).toStdString();
    EXPECT_TRUE(cut.message.startsWith(u"Книга «cut.fb2» повреждена")) << cut.message.toStdString();

    const QByteArray epub = bytesOf(ebook("pikovaya_dama.epub2.epub"));
    const books::Reading broken =
        books::read(write(dir, QStringLiteral("cut.epub"), epub.first(epub.size() / 2)));
    EXPECT_FALSE(broken.ok);
    EXPECT_TRUE(broken.message.contains(u"повреждён")) << broken.message.toStdString();

    const books::Reading empty =
        books::read(write(dir, QStringLiteral("empty.fb2"),
                          "<?xml version=\"1.0\"?><FictionBook><description/><body><section><p> "
                          "</p></section></body></FictionBook>"));
    EXPECT_FALSE(empty.ok);
    EXPECT_EQ(empty.message, QStringLiteral("В книге «empty.fb2» нет текста."));
    EXPECT_EQ(empty.title, QStringLiteral("empty"));

    const books::Reading program = books::read(write(dir, QStringLiteral("book.txt"),
                                                     QByteArray("\x7F"
                                                                "ELF\2\1\1\0\0\0",
                                                                10)));
    EXPECT_EQ(program.format, books::Format::NoText);
    EXPECT_TRUE(program.message.contains(u"похож на программу Linux")) << program.message.toStdString();
    EXPECT_EQ(books::sniff(write(dir, QStringLiteral("zeros.txt"), QByteArray(100, '\0'))),
              books::Format::NoText);
    EXPECT_EQ(books::sniff(write(dir, QStringLiteral("BMW.txt"), "BMW и MZ: машины.")), books::Format::Text);
}

TEST(Doc, WithoutCatdocSaysWhatToInstall)
{
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", "/nonexistent");
    const books::Reading reading = books::read(ebook("pikovaya_dama.lo.doc"));
    qputenv("PATH", path);
    EXPECT_FALSE(reading.ok);
    EXPECT_TRUE(reading.message.contains(u"Установите пакет catdoc")) << reading.message.toStdString();
}

// catdoc is looked for in the program folder first, as the encoders are: a stand-in there shows
// how its output and its failures are taken.
TEST(Doc, TakesCatdocsTextAndTellsItsFailure)
{
    const QString fake = programfolder::path() + QStringLiteral("/catdoc");
    const auto run = [&](const QByteArray &script) {
        QFile file(fake);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n" + script);
        file.close();
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
        return books::read(ebook("pikovaya_dama.lo.doc"));
    };
    const books::Reading read =
        run("printf 'Глава 1\\r\\n\\fТекст  главы.\\n\\n  PAGE  3  \\n\\tСноска.\\n'\n");
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(read.text, QStringLiteral("Глава 1\nТекст  главы.\n\tСноска."));
    const books::Reading failed = run("echo 'first line' >&2; echo 'Not a Word file' >&2; exit 2\n");
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.message,
              QStringLiteral("catdoc не смог прочитать книгу «pikovaya_dama.lo.doc»: Not a Word file"));
    QFile::remove(fake);
}

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A 100 MB FB2 that is mostly pictures is read as it streams by: progress all along, and the
// pictures never held.
TEST(LargeFb2, StreamsWithProgressAndHoldsNoPictures)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.fb2"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n<FictionBook><description><title-info>"
                   "<book-title>\xC0\xEB\xFC\xE1\xEE\xEC</book-title></title-info></description><body>");
        for (int i = 1; i <= 50; ++i)
            file.write("<section><title><p>Chapter " + QByteArray::number(i) +
                       "</p></title><p>Text.</p></section>");
        file.write("</body>");
        const QByteArray line = QByteArray(76, 'A') + '\n';
        const QByteArray picture = line.repeated(256 * 1024 / line.size());
        for (int i = 0; i < 400; ++i)
            file.write("<binary id=\"p" + QByteArray::number(i) + "\" content-type=\"image/png\">" + picture +
                       "</binary>\n");
        file.write("</FictionBook>\n");
    }
    ASSERT_GT(QFile(path).size(), 100'000'000);
    const long before = peakKilobytes();
    int calls = 0;
    int last = -1;
    bool rising = true;
    const books::Reading reading = books::read(path, [&](int permille) {
        ++calls;
        rising = rising && permille >= last;
        last = permille;
        return true;
    });
    ASSERT_TRUE(reading.ok) << reading.message.toStdString();
    EXPECT_EQ(reading.title, QStringLiteral("Альбом"));
    EXPECT_TRUE(reading.text.endsWith(u"Chapter 50\n\nText."));
    EXPECT_GT(calls, 100);
    EXPECT_TRUE(rising);
    EXPECT_EQ(last, 1000);
    EXPECT_LT(peakKilobytes() - before, 40 * 1024) << "the pictures were held in memory";

    const books::Reading cancelled = books::read(path, [](int permille) { return permille < 100; });
    EXPECT_FALSE(cancelled.ok);
    EXPECT_TRUE(cancelled.text.isEmpty());
    EXPECT_TRUE(cancelled.message.isEmpty());
}

} // namespace

namespace {

struct Sniffed
{
    const char *name;
    QByteArray head;
    books::Format format;
    const char *looksLike; // in the refusal, for a file that is no text
};

void PrintTo(const Sniffed &row, std::ostream *out)
{
    *out << row.name << ' ' << row.head.left(16).toHex(' ').constData();
}

class Sniff : public testing::TestWithParam<Sniffed>
{
};

// A file is told by its first bytes whatever its name, and by its name only where the bytes
// leave it open.
TEST_P(Sniff, TellsTheFileByItsFirstBytes)
{
    QTemporaryDir dir;
    const QString path = write(dir, QString::fromUtf8(GetParam().name), GetParam().head);
    EXPECT_EQ(books::sniff(path), GetParam().format);
    const books::Reading reading = books::read(path);
    EXPECT_FALSE(reading.ok && GetParam().format == books::Format::NoText);
    if (*GetParam().looksLike) {
        EXPECT_TRUE(reading.message.contains(QString::fromUtf8(GetParam().looksLike)))
            << reading.message.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Signatures, Sniff,
    testing::Values(
        Sniffed{"book.txt",
                "AT&TFORM\0\0\0\x10"
                "DJVM",
                books::Format::NoText, "похож на книгу DjVu"},
        Sniffed{"book.txt", QByteArray(60, ' ') + "BOOKMOBI", books::Format::NoText, "MOBI"},
        Sniffed{"book.fb2", QByteArray("Rar!\x1A\x07\0", 7), books::Format::NoText, "похож на архив RAR"},
        Sniffed{"book.epub", QByteArray("\x1F\x8B\x08\0", 4), books::Format::NoText, "архив gzip"},
        Sniffed{"book.txt", "%PDF-1.4\n", books::Format::Pdf, ""},
        Sniffed{"book.txt", "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", books::Format::Doc, ""},
        Sniffed{"book.doc", "{\\rtf1\\ansi text}", books::Format::Rtf, ""},
        Sniffed{"book.txt", QByteArray("\xFF\xFEW\0o\0r\0d\0", 10), books::Format::Text, ""},
        Sniffed{"page.txt", "<!-- saved -->\n<!DOCTYPE html><html><body>x</body></html>", books::Format::Html,
                ""},
        Sniffed{"book.xml", "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<FictionBook>", books::Format::Fb2, ""},
        Sniffed{"BMW.txt", "BMW, MZ и ID3 — просто буквы.", books::Format::Text, ""},
        Sniffed{"book.txt", QByteArray("text\0text", 9), books::Format::NoText, "двоичный файл"}));

// An FB2 is read in the encoding its declaration names, through the program's codec; one the
// codec does not read is refused by name.
TEST(Fb2Encoding, FollowsTheDeclaration)
{
    QTemporaryDir dir;
    const QString book =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"%1\"?><FictionBook><description><title-info>"
                       "<book-title>Ёлка</book-title></title-info></description><body><section>"
                       "<p>Съешь же ещё этих мягких булок.</p></section></body></FictionBook>");
    for (const auto &[label, encoding] :
         {std::pair("koi8-r", textcodec::Encoding::Koi8r), std::pair("IBM866", textcodec::Encoding::Cp866),
          std::pair("utf-16", textcodec::Encoding::Utf16Le),
          std::pair("UTF-8", textcodec::Encoding::Utf8WithBom)}) {
        const QString path = write(dir, QStringLiteral("book.fb2"),
                                   textcodec::encode(book.arg(QString::fromLatin1(label)), encoding));
        const books::Reading reading = books::read(path);
        EXPECT_TRUE(reading.ok) << label;
        EXPECT_EQ(reading.title, QStringLiteral("Ёлка")) << label;
        EXPECT_EQ(reading.text, QStringLiteral("Съешь же ещё этих мягких булок.")) << label;
    }
    const books::Reading refused =
        books::read(write(dir, QStringLiteral("latin.fb2"), book.arg(u"iso-8859-5").toUtf8()));
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.message,
              QStringLiteral("Книга «latin.fb2» в кодировке iso-8859-5, которую программа не читает."));
}

TEST(EpubProgress, RisesToTheEndAndStopsWhenCancelled)
{
    std::vector<int> seen;
    const books::Reading reading = books::read(ebook("pikovaya_dama.epub3.epub"), [&](int permille) {
        seen.push_back(permille);
        return true;
    });
    ASSERT_TRUE(reading.ok);
    ASSERT_GE(seen.size(), 7u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.back(), 1000);

    int calls = 0;
    const books::Reading cancelled =
        books::read(ebook("pikovaya_dama.epub3.epub"), [&](int) { return ++calls < 3; });
    EXPECT_FALSE(cancelled.ok);
    EXPECT_TRUE(cancelled.text.isEmpty());
    EXPECT_TRUE(cancelled.message.isEmpty());
    EXPECT_EQ(calls, 3);
}

} // namespace
