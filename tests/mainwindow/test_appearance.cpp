#include "mainwindowtest.h"

#include "mainwindow/appearance.h"
#include "platform/richtext/richtextbox.h"
#include "support/actions.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace {

using Appearance = MainWindowTest;

QStringList captions(const QToolBar &bar)
{
    QStringList texts;
    for (const QAction *a : bar.actions())
        texts << a->text();
    return texts;
}

} // namespace

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
    triggerAction(*w, QStringLiteral("FonColor"));
    triggerAction(*w, QStringLiteral("SetFont"));
    EXPECT_EQ(QStringList({w->Text3->text(), w->Text2->text()}), QStringList({"16777215", "14"}));
    EXPECT_TRUE(store().allKeys().isEmpty());

    w->Text4->setText(QStringLiteral("30")); // not saved by itself: goes with the colour
    for (const auto &[colour, number] : {std::pair{QColor(Qt::red), "255"}, {QColor(Qt::blue), "16711680"}}) {
        scriptedStyleChooser().colors.enqueue(colour);
        triggerAction(*w, QStringLiteral("FonColor"));
        EXPECT_EQ(store().value("MP3User1/Text3").toString(), number);
        EXPECT_EQ(w->RichTextBox2->palette().color(QPalette::Base), colour);
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
    triggerAction(*w, QStringLiteral("SetFont"));
    EXPECT_EQ(store().value("MP3User1/Text1").toString(), "DejaVu Sans");
    EXPECT_EQ(store().value("MP3User1/Text2").toString(), "11");
    const QFont font = w->RichTextBox2->font();
    EXPECT_EQ(QStringList({font.family(), QString::number(font.pointSize())}),
              QStringList({"DejaVu Sans", "11"}));
    EXPECT_FALSE(font.bold());
}

TEST_F(Appearance, CaptionsHiddenAndShownAgainRestoreTheTenCaptions)
{
    const QStringList shown = {"Найти", "Открыть",   "Сохранить", "",          "Запись",  "",       "Чтение",
                               "Пауза", "Остановка", "",          "Настройки", "Словарь", "Доктор", ""};
    w->resize(800, 600);
    const int editorTop = w->RichTextBox2->y();
    triggerAction(*w, QStringLiteral("podpisiubrat"));
    EXPECT_EQ(captions(*w->Toolbar1), QStringList(14, QString()));
    EXPECT_TRUE(w->Check1->isChecked());
    EXPECT_LT(w->RichTextBox2->y(), editorTop); // the editor follows the lower toolbar
    triggerAction(*w, QStringLiteral("podpisipokazat"));
    EXPECT_EQ(captions(*w->Toolbar1), shown);
    EXPECT_FALSE(w->Check1->isChecked());
    EXPECT_EQ(w->RichTextBox2->y(), editorTop);
}

TEST_F(Appearance, IconSizeAndMarginCommands)
{
    w->resize(800, 600);
    triggerAction(*w, QStringLiteral("znachki1"));
    EXPECT_EQ(w->Toolbar1->iconSize(), QSize(16, 16));
    EXPECT_TRUE(w->Check2->isChecked());
    const int smallTop = w->RichTextBox2->y();
    triggerAction(*w, QStringLiteral("znachki2"));
    EXPECT_EQ(w->Toolbar1->iconSize(), QSize(48, 48));
    EXPECT_FALSE(w->Check2->isChecked());
    EXPECT_GT(w->RichTextBox2->y(), smallTop);
    for (const QAction *a : w->Toolbar1->actions())
        EXPECT_EQ(a->isSeparator(), a->icon().isNull()) << a->objectName().toStdString();

    for (const auto &[command, pixels] : {std::pair{"otstup2", 2}, {"onstup0", 0}, {"otstup1", 1}}) {
        triggerAction(*w, QString::fromLatin1(command));
        EXPECT_EQ(w->Text4->text().toInt(), pixels * 15) << command;
        EXPECT_EQ(w->RichTextBox2->x(), pixels) << command;
        EXPECT_GE(w->RichTextBox2->y(), w->Toolbar1->height());
        EXPECT_EQ(w->RichTextBox2->geometry().right() + 1, w->width());
    }
    EXPECT_TRUE(store().allKeys().isEmpty()); // kept with the next save, not at once
}
