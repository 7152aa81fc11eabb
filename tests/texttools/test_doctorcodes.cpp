#include "texttools/doctorcodes.h"

#include <gtest/gtest.h>

using namespace doctorcodes;

TEST(DoctorCodes, BoxesBuildTheSequenceSkippingWhatIsNoCharacter)
{
    const std::pair<QStringList, QString> cases[] = {
        {{"65", "", "66", "", ""}, u"AB"_qs},
        {{"x", "65"}, u"A"_qs},
        {{" 168 ", "184"}, u"Ёё"_qs},
        {{"151", "150", "9"}, u"—–\t"_qs},
        {{"256"}, QString()},
        {{"0", "152", "255"}, u"\0\u0098я"_qs},
        {{"-1", "6 5", "0x41", "1e2"}, QString()},
        // Every way of coding a line break is the editor's one break, CR LF.
        {{"13", "", "10"}, u"\r\n"_qs},
        {{"10", "66", "13"}, u"\r\nB\r\n"_qs},
        {{"10", "13", "13", "10"}, u"\r\n\r\n\r\n"_qs},
        {{}, QString()},
    };
    for (const auto &[boxes, expected] : cases)
        EXPECT_EQ(sequence(boxes), expected) << boxes.join(u'|').toStdString();
}

TEST(DoctorCodes, FindStartsAtTheCaretItself)
{
    const struct
    {
        QString text, sequence;
        int from, found;
    } cases[] = {
        {u"ab\r\ncd"_qs, u"\r\n"_qs, 0, 2},
        {u"ab\r\ncd"_qs, u"\r\n"_qs, 2, 2}, // a selected occurrence is found again
        {u"ab\r\ncd"_qs, u"\r\n"_qs, 3, -1},
        {u"Ab"_qs, u"A"_qs, 0, 0},
        {u"Ab"_qs, u"a"_qs, 0, -1},   // case counts
        {u"ab"_qs, QString(), 1, 1},  // an empty sequence is found at the caret...
        {u"ab"_qs, QString(), 2, -1}, // ...but not at the end
        {QString(), QString(), 0, -1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(find(c.text, c.sequence, c.from), c.found) << c.text.toStdString() << " from " << c.from;
}
