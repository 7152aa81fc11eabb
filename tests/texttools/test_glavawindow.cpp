#include "app/globals.h"
#include "platform/text/cp1251.h"
#include "settings/setup.h"
#include "support/testdata.h"
#include "texttools/glavawindow.h"
#include "texttoolstest.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTimer>

namespace {

class GlavaTest : public TextToolTest
{
protected:
    void SetUp() override
    {
        TextToolTest::SetUp();
        w = &glava();
        rate(2);
    }

    void rate(int value) { setup().FlatScrollBar3->setValue(value); }
    // Ticks the boxes one by one as the user would; each click searches anew.
    void tick(std::initializer_list<int> boxes)
    {
        for (const int box : boxes)
            w->check(box)->click();
    }
    QStringList column(int column) const { return listing::column(*w->ListView1, column); }

    GlavaWindow *w = nullptr;
};

TEST_F(GlavaTest, SearchListsHeadingsInOffsetOrder)
{
    editor().setText(textWith(QStringLiteral("ГЛАВА"), {50, 100, 160, 260}, 400));
    tick({1});
    EXPECT_EQ(column(GlavaWindow::PosColumn), QStringList({"100", "260"}));
    EXPECT_EQ(w->ListView1->topLevelItem(0)->checkState(0), Qt::Checked);
    // Only the last hit is selected.
    EXPECT_EQ(editor().SelStart(), 260);
    EXPECT_EQ(editor().SelLength(), 80);
    EXPECT_FALSE(editor().Locked());
    EXPECT_TRUE(asked().isEmpty());

    // Kinds searched one after the other are listed mixed, by offset.
    editor().setText(
        textWith(QStringLiteral("ГЛАВА"), {150, 350}, 400).replace(250, 2, QStringLiteral("7.")));
    tick({10});
    EXPECT_EQ(column(GlavaWindow::PosColumn), QStringList({"150", "250", "350"}));
}

TEST_F(GlavaTest, PatternBoxesSelectionAndHelp)
{
    editor().setText(textWith(QStringLiteral("Глава"), {150}, 400));
    tick({1});
    w->check(9)->click(); // Text1 is empty
    EXPECT_EQ(asked(), QStringList({"Не найдено", "Не найдено"}));
    EXPECT_EQ(w->ListView1->topLevelItemCount(), 0);

    editor().setSelStart(150);
    editor().setSelLength(5);
    w->check(13)->click();
    EXPECT_EQ(w->Text3->text(), QStringLiteral("Глава"));
    EXPECT_EQ(column(GlavaWindow::PosColumn), QStringList{"150"});
    triggerAction(*w, QStringLiteral("Toolbar1_3"));
    EXPECT_EQ(main->help, QStringList{QStringLiteral("Help8.rtf")});
}

TEST_F(GlavaTest, ABoxClickDuringASearchStartsItOver)
{
    editor().setText(textWith(QStringLiteral("ГЛАВА"), {150}, 400).replace(300, 5, QStringLiteral("Глава")));
    QTimer::singleShot(0, w, [this] { w->check(2)->click(); });
    tick({1});
    EXPECT_EQ(column(GlavaWindow::PosColumn), QStringList({"150", "300"}));
}

TEST_F(GlavaTest, RowClickShowsTheHeadingAndRemovesAnUntickedRowAndATickClickOnlyTicks)
{
    editor().setText(textWith(QStringLiteral("ГЛАВА"), {100, 10000, 30000}, 40000));
    tick({1});
    w->show();
    const auto click = [this](int row, bool onTick) {
        QStyleOptionViewItem option;
        option.rect = w->ListView1->visualItemRect(w->ListView1->topLevelItem(row));
        option.features = QStyleOptionViewItem::HasCheckIndicator;
        const QRect box =
            w->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, w->ListView1);
        QTest::mouseClick(w->ListView1->viewport(), Qt::LeftButton, {},
                          (onTick ? box : option.rect).center());
    };
    click(2, false);
    EXPECT_EQ(editor().SelStart(), 30000);
    EXPECT_EQ(editor().SelLength(), 100);

    editor().setSelStart(0);
    click(1, true);
    EXPECT_EQ(w->ListView1->topLevelItem(1)->checkState(0), Qt::Unchecked);
    EXPECT_EQ(w->ListView1->topLevelItemCount(), 3);
    EXPECT_EQ(editor().SelStart(), 0);
    click(1, false);
    EXPECT_EQ(editor().SelStart(), 10000);
    EXPECT_EQ(column(GlavaWindow::PosColumn), QStringList({"100", "30000"}));
    // The row before the removed one now runs to the row after it; every rate of the
    // scale has its figure.
    const std::pair<int, QStringList> figures[] = {
        {2, {"30", "10"}}, {0, {"38", "13"}}, {-10, {"151", "51"}}};
    for (const auto &[value, minutes] : figures) {
        rate(value);
        click(0, false);
        EXPECT_EQ(column(GlavaWindow::MinutesColumn), minutes) << value;
    }
}

TEST_F(GlavaTest, MarkingInsertsTheMarkerAndSavesTheBook)
{
    CurTextPath = home() + QStringLiteral("/книга.txt");
    editor().setText(QString(150, u'x') + QStringLiteral("ГЛАВА 2\r\n") + QString(50, u'y'));
    tick({1});
    EXPECT_EQ(column(GlavaWindow::PosColumn), QStringList{"150"});
    triggerAction(*w, QStringLiteral("Toolbar1_2"));
    EXPECT_EQ(listing::bytes(CurTextPath),
              cp1251::encode(QString(150, u'x') + QStringLiteral("\r\n\r\n@@@@@\r\n   ГЛАВА 2\r\n") +
                             QString(50, u'y') + QStringLiteral("\r\n")));
    EXPECT_EQ(w->ListView1->topLevelItemCount(), 0);

    // The question comes every time; no file name, or a file that cannot be written, is told.
    CurTextPath.clear();
    w->MarkChapters();
    CurTextPath = readOnlyFolder() + QStringLiteral("/книга.txt");
    w->MarkChapters();
    const QStringList messages = asked();
    ASSERT_EQ(messages.size(), 5);
    EXPECT_EQ(messages[0], QStringLiteral("Сохранить изменения в файле?"));
    EXPECT_EQ(messages[2],
              QStringLiteral("Не задано имя файла! Воспользуйтесь функцией СОХРАНИТЬ ТЕКСТ КАК... "));
    EXPECT_TRUE(messages[4].startsWith(QStringLiteral("Не удалось записать файл\n") + CurTextPath + u':'));
}

TEST_F(GlavaTest, MarkingSkipsUntickedAndEditedAwayHeadings)
{
    const QString glavaWord = QStringLiteral("ГЛАВА");
    editor().setText(textWith(glavaWord, {500, 800, 1200}, 1500));
    tick({1});
    ASSERT_EQ(column(GlavaWindow::PosColumn), QStringList({"500", "800", "1200"}));
    w->ListView1->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
    scriptedPrompter().answers.enqueue(Prompter::Answer::No);
    w->MarkChapters();
    EXPECT_EQ(editor().Text().mid(1228, 5), glavaWord);
    EXPECT_EQ(editor().Text().mid(514, 5), glavaWord);
    EXPECT_EQ(editor().Text().count(QStringLiteral("@@@@@")), 2);

    // A heading edited away since the search gets no marker; a second marking has nothing.
    editor().setText(textWith(glavaWord, {500, 1200}, 1500));
    w->SearchAllChapters();
    editor().setSelStart(1200);
    editor().setSelLength(5);
    editor().setSelText(QStringLiteral("ЗАБЫТ"));
    w->MarkChapters();
    w->MarkChapters();
    EXPECT_EQ(editor().Text().count(QStringLiteral("@@@@@")), 1);
    EXPECT_EQ(editor().Text().mid(514, 5), glavaWord);
}

TEST_F(GlavaTest, FindsTheChaptersOfABook)
{
    editor().setText(testdata::text(QStringLiteral("kapitanskaya_dochka.txt")));
    tick({1});
    const QStringList pos = column(GlavaWindow::PosColumn);
    ASSERT_EQ(pos.size(), 14);
    EXPECT_EQ(pos[0], QStringLiteral("14416"));
    EXPECT_TRUE(w->ListView1->topLevelItem(0)->text(0).startsWith(QStringLiteral("ГЛАВА II ВОЖАТЫЙ")));
    // At rate 2 the status bar gives the whole book 3 h 34 min, and chapter II 16 minutes.
    EXPECT_EQ(w->ListView1->topLevelItem(0)->text(GlavaWindow::MinutesColumn), QStringLiteral("16"));
}

} // namespace
