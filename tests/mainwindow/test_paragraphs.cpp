#include "mainwindow/paragraphs.h"

#include <QList>

#include <gtest/gtest.h>

#include <tuple>

using namespace Qt::StringLiterals;

// (start, highlight length, text) of every paragraph handed out.
using Cut = std::tuple<int, int, QString>;

TEST(Paragraphs, BreaksCaretsAndBounds)
{
    const struct
    {
        QString text;
        int caret;
        qsizetype editorLength; // -1: the text's own
        QList<Cut> expected;
    } cases[] = {
        // An empty line or a TAB opens a paragraph; an em dash or a no-break space does not.
        {u"А\r\n\r\nБ\r\n\tВ"_s, 0, -1, {{0, 2, u"А"_s}, {2, 5, u"\r\n\r\nБ"_s}, {7, 4, u"\r\n\tВ"_s}}},
        {u"а\r\n—б\r\n\u00A0в"_s, 0, -1, {{0, 10, u"а\r\n—б\r\n\u00A0в"_s}}},
        {u"а.\r\n"_s, 0, -1, {{0, 5, u"а.\r\n"_s}}},                   // a final line break ends nothing
        {u"аб\r\n в"_s, 2, -1, {{2, 1, u"б"_s}, {3, 4, u"\r\n в"_s}}}, // caret on a paragraph's break
        {u"аб\r\n в"_s, 3, -1, {{3, 4, u"\r\n в"_s}}},                 // caret inside it: resumed there
        {u"аб"_s, 5, -1, {}},
        // The editor's text grew: the copy still ends the reading; the editor was emptied.
        {u"а\r\n б"_s, 0, 1000, {{0, 2, u"а"_s}, {2, 4, u"\r\n б"_s}}},
        {u"а\r\n б"_s, 0, 0, {}},
    };
    for (const auto &c : cases) {
        QList<Cut> cuts;
        paragraphs::Cutter cutter(c.text, c.caret);
        const qsizetype length = c.editorLength < 0 ? c.text.size() : c.editorLength;
        for (auto p = cutter.next(length); p && cuts.size() < 100; p = cutter.next(length))
            cuts.append({p->start, p->end - p->start, p->text});
        EXPECT_EQ(cuts, c.expected) << qPrintable(c.text) << " from " << c.caret;
    }
}
