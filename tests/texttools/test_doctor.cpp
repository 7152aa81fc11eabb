#include "app/globals.h"
#include "support/testdata.h"
#include "texttools/doctor.h"
#include "texttoolstest.h"

#include <QLineEdit>

namespace {

class Doctor : public TextToolTest
{
protected:
    // The main window's command: the main text goes into the doctor.
    TextDoctor &open(const QString &mainText)
    {
        main->textBox->setText(mainText);
        DoctorTXT().showWithMainText();
        return DoctorTXT();
    }

    static void trigger(const QString &name) { triggerAction(DoctorTXT(), name); }

    static void boxes(const QList<QLineEdit *> &row, const QStringList &codes)
    {
        for (int i = 0; i < row.size(); ++i)
            row[i]->setText(codes.value(i));
    }
};

} // namespace

TEST_F(Doctor, ViewerFollowsTheSelection)
{
    // Each character with its code in the code page; what it cannot hold is written, so shown, as "?".
    TextDoctor &w = open(u"\tAЁ\r\n€ωz"_qs);
    w.RichTextBox1->setSelStart(2);
    w.RichTextBox1->setSelLength(5);
    EXPECT_EQ(w.Text1->text(), u"Ё \r \n € ω "_qs);
    EXPECT_EQ(w.Text2->text(), u"168 013 010 136 063 "_qs);
}

TEST_F(Doctor, FindAndReplaceByCodes)
{
    const struct
    {
        const char *name;
        QString text;
        QStringList what, with;
        const char *commands; // the buttons pressed: 1 find, 2 replace next, 3 replace all
        QString result;
        int selStart, selLength;
        int notFound; // "не найдено" boxes shown
    } cases[] = {
        {"CR LF, found again", u"ab\r\ncd"_qs, {"13", "10"}, {}, "11", u"ab\r\ncd"_qs, 2, 2, 0},
        // A break is one character in the box: the LF alone selects it whole, and again.
        {"line feed alone", u"ab\r\ncd"_qs, {"10"}, {}, "11", u"ab\r\ncd"_qs, 2, 2, 0},
        {"carriage return alone", u"ab\r\ncd"_qs, {"13"}, {}, "1", u"ab\r\ncd"_qs, 2, 2, 0},
        {"13 joins the lines", u"a\r\nb\r\nc"_qs, {"13"}, {}, "3", u"abc"_qs, 0, 0, 0},
        {"10 to a blank", u"a\r\nb"_qs, {"10"}, {"32"}, "3", u"a b"_qs, 0, 0, 0},
        {"NUL and 152 found", u"a\0b\u0098c"_qs, {"0"}, {"152"}, "3", u"a\u0098b\u0098c"_qs, 0, 0, 0},
        {"no first box, no search", u"AAA"_qs, {"", "65"}, {}, "12", u"AAA"_qs, 0, 0, 0},
        {"em dashes to hyphens", u"a—b—c"_qs, {"151"}, {"45"}, "3", u"a-b-c"_qs, 0, 0, 0},
        {"empty replacement deletes", u"a—b—c"_qs, {"151"}, {}, "3", u"abc"_qs, 0, 0, 0},
        {"nothing to find", u"abc"_qs, {}, {"65"}, "3", u"abc"_qs, 0, 0, 0},
        // The replacement is never found again.
        {"AAA to ABABAB", u"AAA"_qs, {"65"}, {"65", "66"}, "1222", u"ABABAB"_qs, 0, 0, 1},
        {"replace next deletes", u"xAyA"_qs, {"65"}, {}, "12", u"xyA"_qs, 2, 1, 0},
    };
    for (const auto &c : cases) {
        TextDoctor &w = open(c.text);
        boxes(w.findBoxes, c.what);
        boxes(w.replaceBoxes, c.with);
        scriptedPrompter().asked.clear();
        for (const char *command = c.commands; *command; ++command)
            trigger(u"Command"_qs + QLatin1Char(*command));
        EXPECT_EQ(w.RichTextBox1->Text(), c.result) << c.name;
        EXPECT_EQ(w.RichTextBox1->SelStart(), c.selStart) << c.name;
        EXPECT_EQ(w.RichTextBox1->SelLength(), c.selLength) << c.name;
        EXPECT_EQ(scriptedPrompter().takeAsked(), QStringList(c.notFound, u"не найдено"_qs)) << c.name;
        // Nothing reaches the main text before a save.
        EXPECT_EQ(main->textBox->Text(), c.text) << c.name;
    }
}

TEST_F(Doctor, SavesUpdateTheMainTextAndWriteTheBookFile)
{
    const QString book = home() + u"/книга.txt"_qs;
    const QString other = home() + u"/другая.txt"_qs;
    const QString unwritable = readOnlyFolder() + u"/книга.txt"_qs;
    const QString eBook = home() + u"/книга.fb2"_qs;
    ASSERT_TRUE(QFile::copy(testdata::path(u"tihiy_dom.fb2"_qs), eBook));
    const QByteArray eBookBytes = textfile::readBytes(eBook).value();
    const QString unwrittenText = u"Не удалось записать файл\n"_qs + unwritable;
    const QString notOverEBook = u"Файл "_qs + eBook + u" — не текстовый файл"_qs;
    const struct
    {
        const char *name;
        QString curTextPath;
        const char *action;
        QStringList dialog; // the save dialog's answers; none: cancelled
        QString mainText, writtenPath, curTextPathAfter;
        QString told; // the start of the one message, if any
    } cases[] = {
        {"save", book, "Save", {}, u"Ёж—"_qs, book, book, {}},
        {"save as", book, "SaveAs", {other}, u"Ёж—"_qs, other, other, {}},
        {"save as cancelled", book, "SaveAs", {}, u"старый"_qs, {}, book, {}},
        {"save without a book file", QString(), "Save", {other}, u"Ёж—"_qs, other, other, {}},
        {"save without a book file, cancelled", QString(), "Save", {}, u"старый"_qs, {}, QString(), {}},
        {"save unwritable", unwritable, "Save", {}, u"Ёж—"_qs, {}, unwritable, unwrittenText},
        {"save as unwritable", book, "SaveAs", {unwritable}, u"Ёж—"_qs, {}, book, unwrittenText},
        // An e-book's text has no file: never saved over the e-book.
        {"save over an e-book", QString(), "Save", {eBook}, u"старый"_qs, {}, QString(), notOverEBook},
    };
    for (const auto &c : cases) {
        QFile::remove(book);
        QFile::remove(other);
        CurTextPath = c.curTextPath;
        TextDoctor &w = open(u"старый"_qs);
        w.RichTextBox1->setText(u"Ёж—"_qs);
        scriptedPrompter().asked.clear();
        scriptedFileChooser().names.clear();
        for (const QString &name : c.dialog)
            scriptedFileChooser().names.enqueue(name);
        trigger(QString::fromLatin1(c.action));

        EXPECT_EQ(main->textBox->Text(), c.mainText) << c.name;
        EXPECT_EQ(CurTextPath, c.curTextPathAfter) << c.name;
        if (!c.writtenPath.isEmpty()) {
            EXPECT_EQ(textfile::readText(c.writtenPath), u"Ёж—\r\n"_qs) << c.name;
        }
        EXPECT_EQ(QFile::exists(book), c.writtenPath == book) << c.name;
        EXPECT_EQ(QFile::exists(other), c.writtenPath == other) << c.name;
        const QStringList told = scriptedPrompter().takeAsked();
        EXPECT_EQ(told.size(), c.told.isEmpty() ? 0 : 1) << c.name;
        EXPECT_TRUE(told.value(0).startsWith(c.told)) << c.name;
    }
    EXPECT_EQ(textfile::readBytes(eBook), eBookBytes);
}

TEST_F(Doctor, CleansARealFb2BookLoadedIntoTheMainText)
{
    ASSERT_TRUE(main->textBox->LoadFile(testdata::path(u"tihiy_dom.fb2"_qs)));
    DoctorTXT().showWithMainText();
    trigger(u"Clean"_qs);
    EXPECT_EQ(DoctorTXT().RichTextBox1->Text(),
              u" \r\n \r\n   Тихий дом   \r\n \r\n \r\n\r\n@@@@@\r\n       Глава 1 \r\n   Он сказал: "
              "&quot;Пора&quot; - и вышел.\r\n   В доме было  тихо .\r\n\r\n * * * \r\n\r\n \r\n "
              "\r\n\r\n@@@@@\r\n  "
              "     Глава 2 \r\n   Утро &amp; вечер.\r\n \r\n \r\n  \r\n "_qs);
    // The caret stands after the blank of the last tag.
    EXPECT_EQ(DoctorTXT().RichTextBox1->SelStart(), DoctorTXT().RichTextBox1->Text().size());
    EXPECT_TRUE(main->textBox->Text().startsWith(u"<?xml"_qs));
}

TEST_F(Doctor, ClosingHidesAndTheNextOpeningTakesTheMainTextAgain)
{
    TextDoctor &w = open(u"один"_qs);
    boxes(w.findBoxes, {"65"});
    w.close();
    EXPECT_TRUE(w.isHidden());
    TextDoctor &again = open(u"два"_qs);
    EXPECT_EQ(&again, &w);
    EXPECT_EQ(again.RichTextBox1->Text(), u"два"_qs);
    EXPECT_EQ(again.findBoxes[0]->text(), u"65"_qs);

    trigger(u"help2"_qs);
    EXPECT_EQ(main->help, QStringList{u"Help6.rtf"_qs});
}
