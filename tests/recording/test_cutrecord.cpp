// What a book folder remembers of its cut, against a run's.
#include "recording/cutrecord.h"

#include "platform/text/textcodec.h"
#include "platform/text/textfile.h"

#include <QCryptographicHash>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace cutrecord;
using namespace Qt::StringLiterals;

TEST(CutRecord, VerdictAndWhatDiffers)
{
    const Record current{1440, 5230, "ab12"};
    EXPECT_EQ(toText(current), u"BlockLimit=1440\r\nTextChars=5230\r\nTextSha256=ab12\r\n"_s);

    const std::optional<QString> none;
    const std::tuple<std::optional<QString>, Verdict, QString> cases[] = {
        {none, Verdict::NothingRemembered, u""_s},
        {toText(current), Verdict::Same, u""_s},
        // Any line end, blanks and keys in any order: the file may have been copied about.
        {u"TextSha256 = ab12\nBlockLimit=1440\rTextChars=5230"_s, Verdict::Same, u""_s},
        {toText({720, 5230, "ab12"}), Verdict::OtherCut, u"длина блока была 720 знаков, теперь 1440"_s},
        {toText({1440, 5231, "ab12"}), Verdict::OtherBook, u"текст книги другой"_s},
        {toText({1440, 5230, "ab13"}), Verdict::OtherBook, u"текст книги другой"_s},
        {toText({99999999, 10, "ff"}), Verdict::OtherCutAndBook,
         u"длина блока была 99999999 знаков, теперь 1440; текст книги другой"_s},
        // A record that cannot be read tells nothing: it never passes for this run's.
        {u""_s, Verdict::Unreadable, u"сведения о прежней нарезке не читаются"_s},
        {u"BlockLimit=1440\r\nTextChars=5230\r\n"_s, Verdict::Unreadable,
         u"сведения о прежней нарезке не читаются"_s},
        // A record of the book file's bytes rather than its text.
        {u"BlockLimit=1440\r\nBookSize=5230\r\nBookSha256=ab12\r\n"_s, Verdict::Unreadable,
         u"сведения о прежней нарезке не читаются"_s},
        {u"BlockLimit=x\r\nTextChars=5230\r\nTextSha256=ab12\r\n"_s, Verdict::Unreadable,
         u"сведения о прежней нарезке не читаются"_s},
    };
    for (const auto &[stored, verdict, difference] : cases) {
        SCOPED_TRACE(stored.value_or(u"(none)"_s).toStdString());
        const Comparison comparison = compare(stored, current);
        EXPECT_EQ(comparison.verdict, verdict);
        EXPECT_EQ(difference, comparison.difference);
    }

    // A finished folder is this book's whatever its cut.
    for (const auto v : {Verdict::NothingRemembered, Verdict::Same, Verdict::OtherCut})
        EXPECT_FALSE(mayHoldAnotherBook(v));
    for (const auto v : {Verdict::OtherBook, Verdict::OtherCutAndBook, Verdict::Unreadable})
        EXPECT_TRUE(mayHoldAnotherBook(v));

    // Drafts of the record, which ended copies leave behind; nothing else is one.
    EXPECT_TRUE(isDraftName(u".blockcut.aB3xY9"_s));
    for (const QString name : {".blockcut", ".blockcut.old", ".blockcut.aB3xY9z", "x.blockcut.aB3xY9"})
        EXPECT_FALSE(isDraftName(name)) << name.toStdString();
}

// The book is its text as the recording reads it: line ends, a last line end and the encoding
// change no block, so they change nothing here either.
TEST(CutRecord, ABookIsItsTextAsTheRecordingReadsIt)
{
    const QString text = u"Первая строка.\n\nВторая «строка»."_s;
    const Record expected{900, text.size(),
                          QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).toHex()};
    const auto cp1251 = [](const QString &t) {
        return textcodec::encode(t, textcodec::Encoding::Windows1251);
    };
    QString crLf = text;
    crLf.replace(u'\n', u"\r\n"_s);
    QString cr = text;
    cr.replace(u'\n', u'\r');
    const std::pair<QByteArray, bool> books[] = {
        {cp1251(crLf + u"\r\n"_s), true},
        {cp1251(crLf), true},
        {cp1251(text + u'\n'), true},
        {cp1251(cr), true},
        {text.toUtf8(), true},
        {"\xEF\xBB\xBF" + crLf.toUtf8() + "\r\n", true},
        // A blank line more or less, or one letter, is another text.
        {cp1251(crLf + u"\r\n\r\n"_s), false},
        {cp1251(QString(crLf).remove(0, 2)), false},
        {cp1251(QString(crLf).replace(u"«"_s, u"\""_s)), false},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(u"книга.txt"_s);
    for (const auto &[bytes, same] : books) {
        SCOPED_TRACE(bytes.toHex().toStdString());
        ASSERT_TRUE(textfile::writeBytes(path, bytes));
        const std::optional<Record> record = ofBook(path, 900);
        ASSERT_TRUE(record);
        EXPECT_EQ(compare(toText(*record), expected).verdict == Verdict::Same, same);
        if (same) {
            EXPECT_EQ(toText(*record), toText(expected));
        }
    }
    EXPECT_FALSE(ofBook(dir.filePath(u"нет.txt"_s), 900));
}
