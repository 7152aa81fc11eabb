// What a book folder remembers of its cut, against a run's.
#include "recording/cutrecord.h"

#include <gtest/gtest.h>

using namespace cutrecord;
using namespace Qt::StringLiterals;

TEST(CutRecord, VerdictAndWhatDiffers)
{
    const Record current{1440, 5230, "ab12"};
    EXPECT_EQ(toText(current), u"BlockLimit=1440\r\nBookSize=5230\r\nBookSha256=ab12\r\n"_s);

    const std::optional<QString> none;
    const std::tuple<std::optional<QString>, Verdict, QString> cases[] = {
        {none, Verdict::NothingRemembered, u""_s},
        {toText(current), Verdict::Same, u""_s},
        // Any line end, blanks and keys in any order: the file may have been copied about.
        {u"BookSha256 = ab12\nBlockLimit=1440\rBookSize=5230"_s, Verdict::Same, u""_s},
        {toText({720, 5230, "ab12"}), Verdict::OtherCut, u"длина блока была 720 знаков, теперь 1440"_s},
        {toText({1440, 5231, "ab12"}), Verdict::OtherBook, u"текст книги другой"_s},
        {toText({1440, 5230, "ab13"}), Verdict::OtherBook, u"текст книги другой"_s},
        {toText({99999999, 10, "ff"}), Verdict::OtherCutAndBook,
         u"длина блока была 99999999 знаков, теперь 1440; текст книги другой"_s},
        // A record that cannot be read tells nothing: it never passes for this run's.
        {u""_s, Verdict::Unreadable, u"сведения о прежней нарезке не читаются"_s},
        {u"BlockLimit=1440\r\nBookSize=5230\r\n"_s, Verdict::Unreadable,
         u"сведения о прежней нарезке не читаются"_s},
        {u"BlockLimit=x\r\nBookSize=5230\r\nBookSha256=ab12\r\n"_s, Verdict::Unreadable,
         u"сведения о прежней нарезке не читаются"_s},
    };
    for (const auto &[stored, verdict, difference] : cases) {
        SCOPED_TRACE(stored.value_or(u"(none)"_s).toStdString());
        EXPECT_EQ(compare(stored, current), verdict);
        EXPECT_EQ(difference, cutrecord::difference(stored, current));
    }

    // A finished folder is this book's whatever its cut.
    for (const auto v : {Verdict::NothingRemembered, Verdict::Same, Verdict::OtherCut})
        EXPECT_FALSE(mayHoldAnotherBook(v));
    for (const auto v : {Verdict::OtherBook, Verdict::OtherCutAndBook, Verdict::Unreadable})
        EXPECT_TRUE(mayHoldAnotherBook(v));
}
