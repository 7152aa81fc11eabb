#include "analiz_Texta.h"
#include "textprep_reference.h"

#include <gtest/gtest.h>

namespace {

PrepSettings markers()
{
    PrepSettings s;
    s.paragraphPause = 500;
    s.narration = u"<TN>"_qs;
    s.dialog = u"<TD>"_qs;
    s.comment = u"<TC>"_qs;
    s.dialog2 = u"<TD2>"_qs;
    return s;
}

const QString P = u" <silence msec=\"500\"/>"_qs;
constexpr DialogState narration{false, false};
constexpr DialogState dialogue{true, false};
constexpr DialogState comment{false, true};

struct Case
{
    DialogState before;
    QString in;
    QString out;
    DialogState after;
};

void expectTagged(const Case &c)
{
    DialogState state = c.before;
    EXPECT_EQ(TagDialogs(c.in, markers(), state), c.out) << c.in.toStdString();
    EXPECT_EQ(state.inDialog, c.after.inDialog) << c.in.toStdString();
    EXPECT_EQ(state.inComment, c.after.inComment) << c.in.toStdString();
}

TEST(TagDialogs, DialogueLineWithComments)
{
    // - Привет, - сказал он. - Пойдём.
    expectTagged({narration, u"\r\n - Привет , - сказал он . - Пойдём . "_qs,
                  P + u"<TD> - Привет ,<TC> - сказал он .<TD2> - Пойдём . "_qs, dialogue});
    // The tags alternate for as long as the line goes on.
    expectTagged({narration, u"\r\n - а , - б ! - в ? - г"_qs,
                  P + u"<TD> - а ,<TC> - б !<TD2> - в ?<TC> - г"_qs, comment});
    // Up to four blanks before the dash.
    expectTagged({narration, u"\r\n    - а"_qs, P + u"<TD>    - а"_qs, dialogue});
    expectTagged({narration, u"\r\n     - а"_qs, u"\r\n     - а"_qs, narration});
    // A dash glued to a capital counts as narration: that test comes first.
    expectTagged({dialogue, u"\r\n -Привет"_qs, P + u"<TN> -Привет"_qs, narration});
}

TEST(TagDialogs, StateCarriesAcrossCalls)
{
    DialogState state;
    const PrepSettings s = markers();
    EXPECT_EQ(TagDialogs(u"\r\n - Привет , - сказал он . - Пойдём . "_qs, s, state),
              P + u"<TD> - Привет ,<TC> - сказал он .<TD2> - Пойдём . "_qs);
    // No line start before the opener: the dialogue of the previous call goes on.
    EXPECT_EQ(TagDialogs(u"а , - б"_qs, s, state), u"а ,<TC> - б"_qs);
    EXPECT_EQ(TagDialogs(u"а : - б"_qs, s, state), u"а :<TD2> - б"_qs);
    EXPECT_TRUE(state.inDialog);
}

TEST(TagDialogs, LineStarts)
{
    expectTagged({dialogue, u"\r\n Он , - сказал"_qs, P + u"<TN> Он , - сказал"_qs, narration});
    expectTagged({narration, u"\r\n 1Я"_qs, P + u"<TN> 1Я"_qs, narration});
    // An empty line, then a reply: two pauses.
    expectTagged({narration, u"\r\n \r\n\r\n - Да"_qs, u"\r\n "_qs + P + P + u"<TD> - Да"_qs, dialogue});
    // Two empty lines give one pause for each line break followed by another.
    expectTagged({narration, u"\r\n а\r\n\r\n\r\n б"_qs, u"\r\n а"_qs + P + P + u"\r\n б"_qs, narration});
    // A paragraph break ends a dialogue whatever the next line starts with.
    expectTagged({dialogue, u"\r\n\r\n а , - б"_qs, P + u"\r\n а , - б"_qs, narration});
    expectTagged({comment, u"\r\n\r\n"_qs, P + u"\r\n"_qs, narration});
}

TEST(TagDialogs, LinesThatAreNotTagged)
{
    // A dash with no blank before it, a lower-case start, Ё and a bracket start leave the
    // dialogue running, so the opener still switches to the comment.
    expectTagged({dialogue, u"\r\n-а , - б"_qs, u"\r\n-а ,<TC> - б"_qs, comment});
    expectTagged({dialogue, u"\r\n а , - б"_qs, u"\r\n а ,<TC> - б"_qs, comment});
    expectTagged({dialogue, u"\r\n Ёлка , - б"_qs, u"\r\n Ёлка ,<TC> - б"_qs, comment});
    expectTagged({dialogue, u"\r\n ( Он ) , - б"_qs, u"\r\n ( Он ) ,<TC> - б"_qs, comment});
    // A dash not set off by punctuation is no opener; in narration an opener does nothing.
    expectTagged({dialogue, u"\r\n а он - врач"_qs, u"\r\n а он - врач"_qs, dialogue});
    expectTagged({narration, u"а , - б"_qs, u"а , - б"_qs, narration});
}

TEST(TagDialogs, ShortTexts)
{
    expectTagged({dialogue, u""_qs, u""_qs, dialogue});
    expectTagged({dialogue, u"\r"_qs, u"\r"_qs, dialogue});
    expectTagged({dialogue, u"\r\n"_qs, u"\r\n"_qs, dialogue});
    expectTagged({narration, u"\r\n -"_qs, P + u"<TD> -"_qs, dialogue});
    expectTagged({dialogue, u", - "_qs, u",<TC> - "_qs, comment});
    // The capital may be the last character: it is looked at, not scanned.
    expectTagged({dialogue, u"\r\n Я"_qs, P + u"<TN> Я"_qs, narration});
}

// The scan walks through what it inserted, so tags that themselves hold openers are tagged
// again; random texts over the characters that matter compare the one-pass scan with the
// rebuild-at-every-insertion reading.
TEST(TagDialogs, RandomTextsMatchTheLiteralScan)
{
    PrepSettings s = markers();
    s.paragraphPause = -7;
    s.narration = u" Я"_qs;
    s.dialog = u"<d. - >"_qs;
    s.comment = u"<c, - c>"_qs;
    s.dialog2 = u"<d2>"_qs;
    const QStringList pieces = {u"\r\n"_qs, u"\r"_qs, u"\n"_qs, u" "_qs, u"-"_qs, u","_qs,  u"."_qs,
                                u"?"_qs,    u"А"_qs,  u"а"_qs,  u"Ё"_qs, u"Я"_qs, u" - "_qs};
    unsigned x = 7u;
    auto next = [&x](unsigned range) {
        x = x * 1103515245u + 12345u;
        return (x >> 16) % range;
    };
    for (int round = 0; round < 20000; ++round) {
        QString text;
        const unsigned len = next(30);
        for (unsigned k = 0; k < len; ++k)
            text += pieces[next(static_cast<unsigned>(pieces.size()))];
        const DialogState start{next(3) == 1, false};
        DialogState fast = start;
        DialogState literal = start;
        if (next(3) == 2)
            fast = literal = comment;
        ASSERT_EQ(TagDialogs(text, s, fast), reference::tagDialogs(text, s, literal)) << round;
        ASSERT_EQ(fast.inDialog, literal.inDialog) << round;
        ASSERT_EQ(fast.inComment, literal.inComment) << round;
    }
}

// Every corpus book as one block per sentence-ending line, as 10-minute blocks and as one
// block, with the state carried from block to block; once as the books are and once with
// every line indented, which turns their dash-started lines into tagged replies.
TEST(TagDialogs, CorpusMatchesTheLiteralScan)
{
    const PrepSettings s = reference::realisticSettings();
    for (const char *book : {"hameleon.txt", "pikovaya_dama.txt", "kapitanskaya_dochka.txt"}) {
        const QString path = QStringLiteral(QUENVALE_CORPUS_DIR "/") + QString::fromLatin1(book);
        for (const QString &indent : {QString(), u" "_qs}) {
            for (std::int32_t limit : {0, 7200, 99999999}) {
                const auto blocks = reference::driverBlocks(path, limit, indent);
                ASSERT_GT(blocks.size(), 0u) << book;
                DialogState fast;
                DialogState literal;
                qsizetype comments = 0;
                for (std::size_t b = 0; b < blocks.size(); ++b) {
                    const QString in = reference::prepareForTagging(blocks[b]);
                    const QString out = TagDialogs(in, s, fast);
                    ASSERT_EQ(out, reference::tagDialogs(in, s, literal))
                        << book << " limit " << limit << " block " << b;
                    ASSERT_EQ(fast.inDialog, literal.inDialog);
                    ASSERT_EQ(fast.inComment, literal.inComment);
                    comments += out.count(s.comment);
                }
                if (!indent.isEmpty()) {
                    EXPECT_GT(comments, 0) << book;
                }
            }
        }
    }
}

} // namespace
