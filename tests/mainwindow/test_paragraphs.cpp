#include "mainwindow/paragraphs.h"

#include <gtest/gtest.h>

#include <QList>

#include <tuple>

using namespace Qt::StringLiterals;
using paragraphs::Cutter;

namespace {

// (start, highlight length, text) of every paragraph.
using Cut = std::tuple<int, int, QString>;

QList<Cut> cutAll(const QString &text, int caret, qsizetype editorLength)
{
    QList<Cut> cuts;
    Cutter cutter(text, caret);
    while (const auto p = cutter.next(editorLength)) {
        cuts.append({p->start, p->end - p->start, p->text});
        if (cuts.size() > 100)
            break;
    }
    return cuts;
}

const QString book = u"Первый.\r\nещё строка.\r\n Второй.\r\n- Реплика.\r\nКонец"_s;

struct Case
{
    const char *name;
    QString text;
    int caret;
    QList<Cut> expected;
};

} // namespace

TEST(Paragraphs, CutFromTheCaretWithTheirHighlights)
{
    const QList<Cut> tail = {{21, 10, u"\r\n Второй."_s}, {31, 19, u"\r\n- Реплика.\r\nКонец"_s}};
    const Case cases[] = {
        {"from the start", book, 0, QList<Cut>{{0, 21, u"Первый.\r\nещё строка."_s}} + tail},
        {"caret inside a word: the character before it comes first", book, 3,
         QList<Cut>{{3, 18, u"рвый.\r\nещё строка."_s}} + tail},
        {"caret where a stopped paragraph began", book, 21, tail},
        {"caret at the end", book, 49, {}},
        {"caret past the end", book, 60, {}},
        {"empty text", u""_s, 0, {}},
        {"an empty line starts a paragraph", u"А\r\n\r\nБ"_s, 0, {{0, 2, u"А"_s}, {2, 5, u"\r\n\r\nБ"_s}}},
        {"a TAB starts a paragraph", u"а\r\n\tб"_s, 0, {{0, 2, u"а"_s}, {2, 4, u"\r\n\tб"_s}}},
        {"em dash and no-break space continue it",
         u"а\r\n—б\r\n\u00A0в"_s,
         0,
         {{0, 10, u"а\r\n—б\r\n\u00A0в"_s}}},
        {"a final line break ends nothing", u"а.\r\n"_s, 0, {{0, 5, u"а.\r\n"_s}}},
        {"pre-formatted empty lines",
         u"Глава 1\r\n Он сказал."_s,
         0,
         {{0, 8, u"Глава 1"_s}, {8, 13, u"\r\n Он сказал."_s}}},
        {"caret on a line break that opens the next paragraph",
         u"аб\r\n в"_s,
         2,
         {{2, 1, u"б"_s}, {3, 4, u"\r\n в"_s}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(cutAll(c.text, c.caret, c.text.size()), c.expected);
    }
}

TEST(Paragraphs, BoundedByTheCopyAndByTheEditor)
{
    // The editor's text grew: the copy still ends the reading.
    EXPECT_EQ(cutAll(u"а\r\n б"_s, 0, 1000), QList<Cut>({{0, 2, u"а"_s}, {2, 4, u"\r\n б"_s}}));
    // The editor was emptied: nothing more is cut.
    EXPECT_EQ(cutAll(book, 0, 0), QList<Cut>());
    Cutter cutter(book, 0);
    ASSERT_TRUE(cutter.next(book.size()));
    EXPECT_FALSE(cutter.next(20));
}
