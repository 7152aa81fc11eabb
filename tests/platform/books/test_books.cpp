// Each e-book a converter or word processor made from the test book reads as the book: its
// words in order, its chapter headings on lines of their own, no markup, the file untouched.
#include "platform/books/books.h"

#include "support/testdata.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

QByteArray digest(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

QStringList wordsOf(const QString &text)
{
    static const QRegularExpression word(QStringLiteral(R"(\w+)"));
    QStringList words;
    for (const QRegularExpressionMatch &match : word.globalMatch(text))
        words << match.captured().toLower();
    return words;
}

// The test book's own words, its markdown and notes left out: the notes stand elsewhere in
// every format.
QStringList bookWords()
{
    QFile file(QStringLiteral(QUENVALE_SOURCE_DIR "/tools/ebooks/pikovaya_dama.md"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(file.readAll());
    text = text.section(QStringLiteral("\n---\n"), 1); // the metadata block
    text.remove(QRegularExpression(QStringLiteral(R"(\[\^[^\]]*\]:[^\n]*)")));
    text.remove(QRegularExpression(QStringLiteral(R"(\[\^[^\]]*\])")));
    return wordsOf(text);
}

// How many of `expected` are found in `words` in the same order, skipping what lies between.
qsizetype inOrder(const QStringList &expected, const QStringList &words)
{
    qsizetype found = 0;
    qsizetype at = 0;
    for (const QString &word : expected) {
        const qsizetype next = words.indexOf(word, at);
        if (next < 0)
            break;
        ++found;
        at = next + 1;
    }
    return found;
}

const QStringList kChapters{QStringLiteral("I"),         QStringLiteral("II"), QStringLiteral("III"),
                            QStringLiteral("IV"),        QStringLiteral("V"),  QStringLiteral("VI"),
                            QStringLiteral("Заключение")};

struct BookCase
{
    const char *file;
    books::Format format;
    bool notesLast;       // footnotes gathered after the main text
    bool ownTitle = true; // the book names itself (a DOC is named after its file)
};

// A row is named by its file in the test's output.
void PrintTo(const BookCase &row, std::ostream *out)
{
    *out << row.file;
}

class EBook : public testing::TestWithParam<BookCase>
{
};

TEST_P(EBook, ReadsAsTheBookItIs)
{
    const QString path = testdata::path(QStringLiteral("ebooks/") + QString::fromLatin1(GetParam().file));
    const QByteArray before = digest(path);
    EXPECT_EQ(books::sniff(path), GetParam().format);
    const books::Reading reading = books::read(path);
    ASSERT_TRUE(reading.ok) << reading.message.toStdString();
    EXPECT_EQ(reading.format, GetParam().format);
    EXPECT_TRUE(reading.message.isEmpty()) << reading.message.toStdString();
    EXPECT_EQ(reading.title,
              GetParam().ownTitle ? QStringLiteral("Пиковая дама") : QFileInfo(path).completeBaseName());

    const QStringList expected = bookWords();
    const QStringList words = wordsOf(reading.text);
    EXPECT_EQ(inOrder(expected, words), expected.size()) << "stops at word " << inOrder(expected, words);

    const QStringList lines = reading.text.split(u'\n');
    qsizetype at = 0;
    for (const QString &chapter : kChapters) {
        const qsizetype line = lines.indexOf(chapter, at);
        EXPECT_GE(line, 0) << "chapter heading " << chapter.toStdString();
        at = std::max(at, line + 1);
    }
    if (GetParam().notesLast) {
        // Numbered in their order under their heading, after the last chapter.
        static const QRegularExpression notes(
            QStringLiteral(R"(\nЗаключение\n.*\nПримечания\n\n1[ \t]московскую Венеру \(франц\.\)\.\n)"
                           R"(2[ \t]на карточную игру у королевы \(франц\.\)\.\n3[ \t]Вы, кажется,)"),
            QRegularExpression::DotMatchesEverythingOption);
        EXPECT_TRUE(notes.match(reading.text).hasMatch());
    }
    // Running heads and feet, page numbers and field codes are no part of the text.
    EXPECT_FALSE(reading.text.contains(u"Пушкин. Пиковая дама"));
    static const QRegularExpression pageNumber(QStringLiteral(R"((^|\n)\s*(PAGE\s*)?\d+\s*(\n|$))"));
    EXPECT_FALSE(pageNumber.match(reading.text).hasMatch())
        << pageNumber.match(reading.text).captured().toStdString();
    static const QRegularExpression markup(QStringLiteral(R"([<>{}\\]|&\w+;|\r)"));
    EXPECT_FALSE(markup.match(reading.text).hasMatch())
        << markup.match(reading.text).captured().toStdString();
    EXPECT_EQ(digest(path), before);
}

INSTANTIATE_TEST_SUITE_P(Converted, EBook,
                         testing::Values(BookCase{"pikovaya_dama.pandoc.fb2", books::Format::Fb2, true},
                                         BookCase{"pikovaya_dama.fb2.zip", books::Format::Fb2Zip, true},
                                         BookCase{"pikovaya_dama.epub2.epub", books::Format::Epub, false},
                                         BookCase{"pikovaya_dama.epub3.epub", books::Format::Epub, false},
                                         BookCase{"pikovaya_dama.pandoc.html", books::Format::Html, false},
                                         BookCase{"pikovaya_dama.cp1251.html", books::Format::Html, false},
                                         BookCase{"pikovaya_dama.pandoc.docx", books::Format::Docx, true},
                                         BookCase{"pikovaya_dama.lo.docx", books::Format::Docx, true},
                                         BookCase{"pikovaya_dama.pandoc.odt", books::Format::Odt, true},
                                         BookCase{"pikovaya_dama.lo.odt", books::Format::Odt, true},
                                         BookCase{"pikovaya_dama.lo.pdf", books::Format::Pdf, true},
                                         BookCase{"pikovaya_dama.typeset.pdf", books::Format::Pdf, true},
                                         BookCase{"pikovaya_dama.lo.doc", books::Format::Doc, false, false}));

} // namespace
