#include "recording/textprep.h"
#include "textprep_reference.h"

#include <gtest/gtest.h>

const QString P = u" <silence msec=\"500\"/>"_qs;
constexpr DialogState narration{false, false};
constexpr DialogState dialogue{true, false};
constexpr DialogState comment{false, true};

TEST(TagDialogs, TagsAndStateAfter)
{
    const struct
    {
        DialogState before;
        QString in;
        QString out;
        DialogState after;
    } cases[] = {
        // The tags alternate for as long as the line goes on.
        {narration, u"\r\n - а , - б ! - в ? - г"_qs, P + u"<TD> - а ,<TC> - б !<TD2> - в ?<TC> - г"_qs,
         comment},
        // No line start before the opener: the state of the previous call goes on.
        {comment, u"а : - б"_qs, u"а :<TD2> - б"_qs, dialogue},
        // Up to four blanks before the dash; the dash may end the text.
        {narration, u"\r\n    - а\r\n     - б\r\n -"_qs, P + u"<TD>    - а\r\n     - б"_qs + P + u"<TD> -"_qs,
         dialogue},
        // A capital one or two characters in starts narration, even after a glued dash (tested
        // first) and as the last character; in narration an opener does nothing.
        {dialogue, u"\r\n -Привет , - а\r\n 1Я , - б\r\n Я"_qs,
         P + u"<TN> -Привет , - а"_qs + P + u"<TN> 1Я , - б"_qs + P + u"<TN> Я"_qs, narration},
        // Each line break followed by another gives a pause, and a reply one more.
        {narration, u"\r\n а\r\n\r\n\r\n б\r\n \r\n\r\n - Да"_qs,
         u"\r\n а"_qs + P + P + u"\r\n б\r\n "_qs + P + P + u"<TD> - Да"_qs, dialogue},
        // A paragraph break ends a dialogue whatever the next line starts with.
        {dialogue, u"\r\n\r\n а , - б"_qs, P + u"\r\n а , - б"_qs, narration},
        // A dash not set off by punctuation is no opener; lines starting with no blank, lower
        // case, Ё or a bracket leave the state as it was, so the openers keep alternating.
        {dialogue, u"\r\n а он - врач\r\n-а , - б\r\n а , - б\r\n Ёлка , - б\r\n ( Он ) , - б"_qs,
         u"\r\n а он - врач\r\n-а ,<TC> - б\r\n а ,<TD2> - б\r\n Ёлка ,<TC> - б\r\n ( Он ) ,<TD2> - б"_qs,
         dialogue},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.in.toStdString());
        DialogState state = c.before;
        EXPECT_EQ(TagDialogs(c.in, reference::markerSettings(), state), c.out);
        EXPECT_EQ(state, c.after);
    }
    // The scan walks through what it inserted: tags that hold openers are tagged again.
    const PrepSettings s{0, 0, 0, u" Я"_qs, u"<d. - >"_qs, u"<c, - c>"_qs, u"<d2>"_qs, {}};
    DialogState state = narration;
    EXPECT_EQ(TagDialogs(u"\r\n - а"_qs, s, state), u" <silence msec=\"0\"/><d.<c,<d2> - c> - > - а"_qs);
    EXPECT_EQ(state, dialogue);
}
