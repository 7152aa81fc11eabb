#include "mainwindowtest.h"

#include "mainwindow/appearance.h"

#include <QStatusBar>

using Appearance = MainWindowTest;

TEST(ColorNumber, IsRedPlus256GreenPlus65536Blue)
{
    for (const auto &[colour, number] : {std::pair{QColor(255, 0, 0), "255"},
                                         {QColor(0, 0, 255), "16711680"},
                                         {QColor(1, 2, 3), "197121"},
                                         {QColor(0, 0, 0), "0"}}) {
        EXPECT_EQ(appearance::colorNumber(colour), number);
        EXPECT_EQ(appearance::colorFromNumber(QString::fromLatin1(number)), colour);
    }
    for (const char *bad : {"", "-1", "16777216", "1.5"})
        EXPECT_FALSE(appearance::colorFromNumber(QString::fromLatin1(bad))) << bad;
}

TEST_F(Appearance, ChosenColourAndFontAreSavedAtOnceCancelChangesNothing)
{
    run(QStringLiteral("FonColor"));
    run(QStringLiteral("SetFont"));
    EXPECT_EQ(QStringList({w->Text3->text(), w->Text2->text()}), QStringList({"16777215", "14"}));
    EXPECT_TRUE(store().allKeys().isEmpty());

    w->Text4->setText(QStringLiteral("30")); // not saved by itself: goes with the colour
    for (const auto &[colour, number] : {std::pair{QColor(Qt::red), "255"}, {QColor(Qt::blue), "16711680"}}) {
        scriptedStyleChooser().colors.enqueue(colour);
        run(QStringLiteral("FonColor"));
        EXPECT_EQ(std::pair(store().value("MP3User1/Text3").toString(), w->RichTextBox2->palette().color(QPalette::Base)),
                  std::pair(QString::fromLatin1(number), colour));
        // The margin beside the editor takes it; the bars keep the system's colours.
        EXPECT_EQ(w->grab().toImage().pixelColor(0, w->RichTextBox2->y() + 4), colour);
        for (const QWidget *bar :
             std::initializer_list<const QWidget *>{w->menuBar, w->Toolbar1, w->StatusBar1})
            EXPECT_NE(bar->palette().color(QPalette::Window), colour) << bar->objectName().toStdString();
    }
    EXPECT_EQ(store().value("MP3User1/Text4").toString(), "30");

    QFont chosen(QStringLiteral("DejaVu Sans"), 11);
    chosen.setBold(true); // only name and size are used
    scriptedStyleChooser().fonts.enqueue(chosen);
    run(QStringLiteral("SetFont"));
    const QFont font = w->RichTextBox2->font();
    EXPECT_EQ(QStringList({store().value("MP3User1/Text1").toString(), store().value("MP3User1/Text2").toString(),
                           font.family(), QString::number(font.pointSize()), QString::number(font.bold())}),
              QStringList({"DejaVu Sans", "11", "DejaVu Sans", "11", "0"}));
}

TEST_F(Appearance, CaptionIconSizeAndMarginCommands)
{
    const auto captions = [this] {
        QStringList texts;
        for (const QAction *a : w->Toolbar1->actions())
            texts << a->text();
        return texts;
    };
    const QStringList shown = {"Найти", "Открыть",   "Сохранить", "",          "Запись",  "",       "Чтение",
                               "Пауза", "Остановка", "",          "Настройки", "Словарь", "Доктор", ""};
    w->resize(800, 600);
    const int editorTop = w->RichTextBox2->y();
    run(QStringLiteral("podpisiubrat"));
    EXPECT_EQ(captions(), QStringList(14, QString()));
    EXPECT_TRUE(w->Check1->isChecked() && w->RichTextBox2->y() < editorTop); // the editor follows the toolbar
    run(QStringLiteral("podpisipokazat"));
    EXPECT_EQ(captions(), shown);
    EXPECT_FALSE(w->Check1->isChecked() || w->RichTextBox2->y() != editorTop);

    run(QStringLiteral("znachki1"));
    EXPECT_EQ(std::pair(w->Toolbar1->iconSize(), w->Check2->isChecked()), std::pair(QSize(16, 16), true));
    const int smallTop = w->RichTextBox2->y();
    run(QStringLiteral("znachki2"));
    EXPECT_EQ(std::pair(w->Toolbar1->iconSize(), w->Check2->isChecked()), std::pair(QSize(48, 48), false));
    EXPECT_GT(w->RichTextBox2->y(), smallTop);

    for (const auto &[command, pixels] : {std::pair{"otstup2", 2}, {"onstup0", 0}, {"otstup1", 1}}) {
        run(QString::fromLatin1(command));
        const QRect editor = w->RichTextBox2->geometry();
        EXPECT_EQ(std::tuple(w->Text4->text().toInt(), editor.x(), editor.right() + 1), std::tuple(pixels * 15, pixels, w->width()));
        EXPECT_GE(editor.y(), w->Toolbar1->height());
    }
    EXPECT_TRUE(store().allKeys().isEmpty()); // kept with the next save, not at once
}
