#include "texttools/replacelist.h"

#include <gtest/gtest.h>

using replacelist::Entry;

TEST(ReplaceListEntry, KeyFormsGiveSearchAndReplacementTextsOrNothing)
{
    const struct
    {
        const char *line;
        const char *search = nullptr; // null: skipped, no usable key
        const char *replacement = nullptr;
        Qt::CaseSensitivity cs = Qt::CaseInsensitive;
    } cases[] = {
        {"дом=домъ", " дом ", " домъ ", Qt::CaseInsensitive},
        {"*дом=X", "дом ", "X ", Qt::CaseInsensitive},
        {"дом*=X", " дом", " X", Qt::CaseInsensitive},
        {"*дом*=X", "дом", "X", Qt::CaseInsensitive},
        {"$Дом=X", " Дом ", " X ", Qt::CaseSensitive},
        {"$*Дом*=X", "Дом", "X", Qt::CaseSensitive},
        // Split at the first "="; a "*" after it is text; what follows the end "*" is dropped.
        {"a=b=c", " a ", " b=c ", Qt::CaseInsensitive},
        {"дом=a*b", " дом ", " a*b ", Qt::CaseInsensitive},
        {"до*м=X", " до", " X", Qt::CaseInsensitive},
        {"дом=", " дом ", "  ", Qt::CaseInsensitive},
        {"=x"},
        {"*=x"},
        {"$=x"},
        {"без равенства"},
        {""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line);
        const auto entry = replacelist::parseEntry(QString::fromUtf8(c.line));
        if (!c.search) {
            EXPECT_FALSE(entry.has_value());
            continue;
        }
        ASSERT_TRUE(entry.has_value());
        EXPECT_EQ(*entry, (Entry{QString::fromUtf8(c.search), QString::fromUtf8(c.replacement), c.cs}));
    }
}

TEST(ReplaceListRun, AppliesEntriesInListOrder)
{
    const struct
    {
        QStringList lines;
        const char *text;
        const char *expected;
    } cases[] = {
        {{"кот=пёс"}, "Мой кот спит.", "Мой пёс спит."},
        {{"дом=X"}, " ДОМ , дома .", " X , дома ."},
        {{"$Дом=X"}, "xx дом Дом .", "xx дом X ."},
        // A blank bounding two hits serves both.
        {{"да=ага"}, " Ну да да да .", " Ну ага ага ага ."},
        {{"*а=бба"}, "мама папа .", "мамбба папбба ."},
        {{"дом*=X"}, " дома дом", " Xа X"},
        // A hit at the very start is replaced.
        {{"кот*=пёс"}, " котик", " пёсик"},
        // A replacement holding its own key is not applied again.
        {{"кот=кот кот"}, " кот кот .", " кот кот кот кот ."},
        {{"* *=_"}, "a b c", "a_b_c"},
        // Later entries see what earlier ones made; keyless lines are passed over.
        {{"a=b", "=x", "b=c"}, "x a .", "x c ."},
        {{}, "без изменений", "без изменений"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(replacelist::apply(QString::fromUtf8(c.text), c.lines), QString::fromUtf8(c.expected));
    }
}

TEST(ReplaceListRun, FoldedTwinGivesTheSameRunAndStaysInStep)
{
    const QStringList lines = {"да=Ага", "$Нет=не", "*ё*=е", "АГА=угу"};
    QString plain = QStringLiteral(" ДА Да нет Нет ЁЛКА ага .");
    QString twin = plain;
    QString folded = twin.toCaseFolded();
    for (const QString &line : lines) {
        const Entry entry = *replacelist::parseEntry(line);
        EXPECT_EQ(replacelist::replaceAll(plain, entry), replacelist::replaceAll(twin, folded, entry))
            << line.toStdString();
        EXPECT_EQ(folded, twin.toCaseFolded());
    }
    EXPECT_EQ(twin, plain);
    EXPECT_EQ(plain, QStringLiteral(" угу угу нет не еЛКА угу ."));
}
