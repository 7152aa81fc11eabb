#include "mainwindowtest.h"

#include "mainwindow/appearance.h"
#include "platform/richtext/richtextbox.h"
#include "support/actions.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
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
    const std::pair<QColor, const char *> colours[] = {
        {QColor(255, 0, 0), "255"},          {QColor(0, 0, 255), "16711680"}, {QColor(0, 255, 0), "65280"},
        {QColor(255, 255, 255), "16777215"}, {QColor(1, 2, 3), "197121"},
    };
    for (const auto &[colour, number] : colours) {
        EXPECT_EQ(appearance::colorNumber(colour), number);
        EXPECT_EQ(appearance::colorFromNumber(QString::fromLatin1(number)), colour);
    }
    for (const char *bad : {"", "красный", "-1", "16777216", "1.5"})
        EXPECT_FALSE(appearance::colorFromNumber(QString::fromUtf8(bad))) << bad;
}

TEST(FontSizeText, FollowsTheUsersNumberFormatAndReadsADotToo)
{
    const QLocale russian(QLocale::Russian);
    EXPECT_EQ(appearance::fontSizeText(14, russian), "14");
    EXPECT_EQ(appearance::fontSizeText(10.5, russian), "10,5");
    EXPECT_EQ(appearance::fontSizeFromText("10,5", russian), 10.5);
    EXPECT_EQ(appearance::fontSizeFromText("10.5", russian), 10.5);
    EXPECT_FALSE(appearance::fontSizeFromText("0", russian));
    EXPECT_FALSE(appearance::fontSizeFromText("крупный", russian));
}

TEST_F(Appearance, BackgroundColourIsStoredAsANumberAndSavedAtOnce)
{
    w->Text4->setText(QStringLiteral("30")); // not yet saved: goes with the colour
    for (const auto &[colour, number] : {std::pair{QColor(Qt::red), "255"}, {QColor(Qt::blue), "16711680"}}) {
        SCOPED_TRACE(number);
        scriptedStyleChooser().colors.enqueue(colour);
        triggerAction(*w, QStringLiteral("FonColor"));
        EXPECT_EQ(w->Text3->text(), number);
        EXPECT_EQ(store().value("MP3User1/Text3").toString(), number);
        EXPECT_EQ(w->RichTextBox2->palette().color(QPalette::Base), colour);
    }
    EXPECT_EQ(store().value("MP3User1/Text4").toString(), "30");
}

TEST_F(Appearance, CancelledDialogsChangeAndSaveNothing)
{
    const QFont font = w->RichTextBox2->font();
    triggerAction(*w, QStringLiteral("FonColor"));
    triggerAction(*w, QStringLiteral("SetFont"));
    EXPECT_EQ(scriptedStyleChooser().asked, QStringList({"Выберите цвет фона", "Выберите шрифт"}));
    EXPECT_EQ(w->Text3->text(), "16777215");
    EXPECT_EQ(w->Text2->text(), "14");
    EXPECT_EQ(w->RichTextBox2->font(), font);
    EXPECT_TRUE(store().allKeys().isEmpty());
}

TEST_F(Appearance, ChosenFontGoesToTheEditorAndTheStore)
{
    QFont chosen(QStringLiteral("DejaVu Sans"));
    chosen.setPointSize(11);
    chosen.setBold(true); // only name and size are used
    scriptedStyleChooser().fonts.enqueue(chosen);
    triggerAction(*w, QStringLiteral("SetFont"));
    EXPECT_EQ(w->Text1->text(), "DejaVu Sans");
    EXPECT_EQ(w->Text2->text(), "11");
    EXPECT_EQ(store().value("MP3User1/Text2").toString(), "11");
    EXPECT_EQ(w->RichTextBox2->font().family(), "DejaVu Sans");
    EXPECT_EQ(w->RichTextBox2->font().pointSize(), 11);
    EXPECT_FALSE(w->RichTextBox2->font().bold());
}

TEST_F(Appearance, CaptionsHiddenAndShownAgainRestoreTheTenCaptions)
{
    const QStringList shown = {"Найти", "Открыть",   "Сохранить", "",          "Запись",  "",       "Чтение",
                               "Пауза", "Остановка", "",          "Настройки", "Словарь", "Доктор", ""};
    EXPECT_EQ(captions(*w->Toolbar1), shown);
    w->resize(800, 600);
    const int editorTop = w->RichTextBox2->y();

    triggerAction(*w, QStringLiteral("podpisiubrat"));
    EXPECT_EQ(captions(*w->Toolbar1), QStringList(14, QString()));
    EXPECT_TRUE(w->Check1->isChecked());
    EXPECT_LT(w->RichTextBox2->y(), editorTop); // the editor follows the lower toolbar
    EXPECT_FALSE(w->Toolbar1->actions().at(0)->toolTip().isEmpty());

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

    const std::pair<const char *, const char *> margins[] = {
        {"otstup2", "30"}, {"onstup0", "0"}, {"otstup1", "15"}};
    for (const auto &[command, twips] : margins) {
        SCOPED_TRACE(command);
        triggerAction(*w, QString::fromLatin1(command));
        EXPECT_EQ(w->Text4->text(), twips);
        EXPECT_EQ(w->RichTextBox2->x(), QString::fromLatin1(twips).toInt() / 15);
        EXPECT_EQ(w->RichTextBox2->geometry().right() + 1, w->width());
    }
    EXPECT_TRUE(store().allKeys().isEmpty()); // kept with the next save, not at once
}
