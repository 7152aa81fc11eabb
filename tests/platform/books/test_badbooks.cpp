// Files that are no book are refused with a word on what they look like; damaged books give
// what can be read and say what could not; the hand-written FB2 reads exactly so.
#include "platform/books/books.h"

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

struct Refusal
{
    const char *file;
    books::Format format;
    const char *says;
};

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
