// Markup's white space reads as a browser shows it; the book's own breaks and tabs stay.
#include "platform/books/lines.h"

#include <gtest/gtest.h>

namespace {

TEST(Lines, CollapseMarkupSpaceAndKeepTheBooksOwn)
{
    books::Lines lines;
    lines.add(u"\n   Первая  строка,\n\tперенесённая ");
    lines.add(u"<b>");
    lines.add(u" в исходнике\u00A0и\u00A0всё.  ");
    lines.endLine();
    lines.endLine(); // no empty line from markup
    lines.separate();
    lines.separate(); // one empty line, however many blocks say so
    lines.add(u"Заголовок");
    lines.separate();
    lines.addExact(u"\tтаб\tи  два пробела\r\n");
    lines.endLine();
    lines.emptyLine();
    lines.add(u"после пустой");
    EXPECT_EQ(lines.text(), QStringLiteral("Первая строка, перенесённая <b> в исходнике\u00A0и\u00A0всё.\n\n"
                                           "Заголовок\n\n"
                                           "\tтаб\tи  два пробела\n\n"
                                           "после пустой"));
}

TEST(Lines, AppendsAfterAnEmptyLineWithoutEmptyLinesAtTheEnd)
{
    books::Lines text;
    books::Lines notes;
    text.append(notes); // nothing to add: no empty line either
    text.add(u"Текст ");
    notes.add(u"1 Примечание");
    notes.separate();
    text.append(notes);
    EXPECT_EQ(text.text(), QStringLiteral("Текст\n\n1 Примечание"));
    EXPECT_TRUE(books::Lines().text().isEmpty());
}

} // namespace
