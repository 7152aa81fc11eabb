#include "platform/richtext/crlfpositions.h"
#include "platform/richtext/richtextbox.h"

#include "platform/text/textfile.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <tuple>

using namespace Qt::StringLiterals;

namespace {

// Every CR LF, lone CR and lone LF as CR LF: what Text() must give for a text set as plain.
QString crlfReference(QString s)
{
    return s.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n').replace(u"\n"_s, u"\r\n"_s);
}

// Line breaks at the ends, doubled, lone, beside odd characters; then random texts rich in them.
QStringList mappingSamples()
{
    QStringList samples = (u"\r\nabc|abc\r\n|a\r\n\r\nb|\n\n|\r\r|\n\r|a\rb\nc\r\nd|"
                           u"Привет\r\n\u00A0\t\u0098\u2014\r\n\r\n@@@@@\r\n   Глава"_s)
                              .split(u'|');
    QRandomGenerator rng(1251);
    const QString alphabet = u"aЖ \r\n\r\n"_s;
    for (int n = 0; n < 300; ++n) {
        QString s;
        for (int len = rng.bounded(0, 24); len > 0; --len)
            s += alphabet[rng.bounded(static_cast<int>(alphabet.size()))];
        samples << s;
    }
    return samples;
}

class RichTextBoxTest : public testing::Test
{
protected:
    QTextEdit *edit() { return box.findChild<QTextEdit *>(); }
    void select(int start, int length)
    {
        box.setSelStart(start);
        box.setSelLength(length);
    }
    std::tuple<int, int, QString> sel() { return {box.SelStart(), box.SelLength(), box.SelText()}; }

    RichTextBox box;
};

} // namespace

TEST_F(RichTextBoxTest, TextAndPositionsCountEveryLineBreakAsCrLf)
{
    for (const QString &sample : mappingSamples()) {
        SCOPED_TRACE(testing::PrintToString(sample.toStdU16String()));
        box.setText(sample);
        const QString crlf = crlfReference(sample);
        ASSERT_EQ(box.Text(), crlf);
        const QString raw = edit()->document()->toRawText();
        const CrLfPositions map(*edit()->document());
        ASSERT_EQ(map.length(), crlf.size());
        // Each break before a position adds one; between CR and LF is the start of the next line.
        for (int q = 0, breaks = 0; q <= raw.size(); ++q) {
            EXPECT_EQ(map.toCrLf(q), q + breaks) << "qt " << q;
            EXPECT_EQ(map.toQt(q + breaks), q);
            if (q < raw.size() && raw[q] == QChar::ParagraphSeparator) {
                ++breaks;
                EXPECT_EQ(map.toQt(q + breaks), q + 1) << "between CR and LF at qt " << q;
            }
        }
        const QList<int> clamped = {map.toQt(-3), map.toQt(crlf.size() + 7), map.toCrLf(-1),
                                    map.toCrLf(raw.size() + 5)};
        EXPECT_EQ(clamped, (QList<int>{0, int(raw.size()), 0, int(crlf.size())}));
    }
    box.setText(u"a\u2028b"_s); // a soft line break becomes a hard one
    EXPECT_EQ(box.Text(), u"a\r\nb"_s);
}

TEST_F(RichTextBoxTest, SelectionCountsLineBreaksAsTwoCharacters)
{
    box.setText(u"ab\r\ncd\r\n\r\nef"_s);
    // {start, length, SelStart, SelLength, SelText}. Each start set over the previous selection
    // empties it; both are clamped; a selection ending between CR and LF takes the whole break.
    const std::tuple<int, int, int, int, QString> cases[] = {
        {4, 2, 4, 2, u"cd"_s},      {1, 4, 1, 4, u"b\r\nc"_s}, {6, 6, 6, 6, u"\r\n\r\nef"_s},
        {3, 0, 4, 0, u""_s},        {1, 2, 1, 3, u"b\r\n"_s},  {1000, 0, 12, 0, u""_s},
        {10, 1000, 10, 2, u"ef"_s}, {2, -4, 2, 0, u""_s},      {-7, 1, 0, 1, u"a"_s}};
    for (const auto &[start, length, selStart, selLength, text] : cases) {
        SCOPED_TRACE(testing::Message() << start << " + " << length);
        box.setSelStart(start);
        EXPECT_EQ(sel(), std::tuple(selStart, 0, QString()));
        box.setSelLength(length);
        EXPECT_EQ(sel(), std::tuple(selStart, selLength, text));
    }
}

TEST_F(RichTextBoxTest, SettingSelTextReplacesOrInserts)
{
    box.setText(u"abc def\r\nghi"_s);
    select(4, 3);
    box.setSelText(u">"_s);
    EXPECT_EQ(sel(), std::tuple(5, 0, QString())); // the caret follows the new text
    // Line breaks of every kind inserted at the caret: the chapter marker, a lone CR and LF.
    box.setSelStart(7);
    box.setSelText(u"\r\n\r\n@@@@@\r\n   "_s);
    EXPECT_EQ(box.SelStart(), 7 + 14);
    box.setSelText(u"x\ry\nz"_s);
    EXPECT_EQ(box.Text(), u"abc >\r\n\r\n\r\n@@@@@\r\n   x\r\ny\r\nzghi"_s);
    // Replacing a selection that holds a line break joins the lines.
    select(3, 5);
    box.setSelText({});
    EXPECT_EQ(box.Text(), u"abc\r\n@@@@@\r\n   x\r\ny\r\nzghi"_s);
}

TEST_F(RichTextBoxTest, ColourAndBoldChangeOnlyTheLook)
{
    const QColor red(255, 0, 0);
    // Each character as x (red and bold), - (neither) or ? (one of them).
    const auto marks = [&] {
        QString m;
        for (int i = 0; i < box.Text().size(); ++i) {
            select(i, 1);
            const bool isRed = box.SelColor() == red;
            m += isRed != box.SelBold() ? u'?' : isRed ? u'x' : u'-';
        }
        return m;
    };
    box.setText(u"Он сказал , замок открыт . Всё"_s);
    QSignalSpy changed(&box, &RichTextBox::changed);
    select(12, 6);
    box.setSelColor(red);
    box.setSelBold(true);
    // Find-and-replace: the replacement takes the format of the replaced hit.
    select(12, 5);
    box.setSelText(u"дверь"_s);
    // Back to plain at the caret: for what is typed next, not for the neighbours. Only typing
    // and replacing changed the characters.
    box.setSelStart(17);
    box.setSelColor(Qt::black);
    box.setSelBold(false);
    box.setSelText(u"X"_s);
    EXPECT_EQ(changed.count(), 2);
    box.setTextRTF(box.TextRTF().replace(u" , "_s, u", "_s).replace(u" . "_s, u". "_s));
    EXPECT_EQ(box.Text(), u"Он сказал, дверьX открыт. Всё"_s);
    EXPECT_EQ(marks(), u"-----------xxxxx-x-----------"_s);
    // Plain text drops every format and the caret; a source that is not RTF is plain text.
    box.setText(box.Text());
    EXPECT_EQ(box.SelStart(), 0);
    EXPECT_EQ(marks(), QString(29, u'-'));
    box.setTextRTF(u"просто {текст}"_s);
    EXPECT_EQ(box.Text(), u"просто {текст}"_s);
}

TEST_F(RichTextBoxTest, FindReturnsCrLfPositions)
{
    box.setText(u"Замок\r\nна замке, замок..\r\nЗАМОК_1"_s);
    select(2, 3);
    const QString w = u"замок"_s;
    // {what, start, end, options, hit}: ЗАМОК_1 is one word; the hit must end by `end`.
    const std::tuple<QString, int, int, RichTextBox::FindOptions, int> cases[] = {
        {w, 0, -1, {}, 0},           {w, 0, -1, RichTextBox::MatchCase, 17}, {w, -5, -1, {}, 0},
        {w, 1, -1, RichTextBox::WholeWord, 17}, {w, 18, -1, RichTextBox::WholeWord, -1},
        {w, 18, -1, {}, 26},         {w, 1, 21, {}, -1},  {w, 1, 22, {}, 17}, {u"замке"_s, 1, 15, {}, 10},
        {u"\r\nна"_s, 0, -1, {}, 5}, {{}, 0, -1, {}, -1}, {u"."_s, 0, -1, RichTextBox::WholeWord, 23}};
    for (const auto &[what, start, end, options, hit] : cases)
        EXPECT_EQ(box.Find(what, start, end, options), hit) << start << ' ' << end;
    EXPECT_EQ(sel(), std::tuple(2, 3, u"мок"_s)); // the selection is left alone
}

TEST_F(RichTextBoxTest, LoadsAndSavesFilesAndKeepsContentOnFailure)
{
    QTemporaryDir dir;
    const QString book = dir.filePath(u"book.txt"_s), txt = dir.filePath(u"out.txt"_s),
                  rich = dir.filePath(u"out.rtf"_s);
    ASSERT_TRUE(textfile::writeText(book, u"Глава\r\n\r\nтекст\nстрока\rещё"_s));
    ASSERT_TRUE(box.LoadFile(book));
    EXPECT_EQ(box.Text(), u"Глава\r\n\r\nтекст\r\nстрока\r\nещё"_s);
    EXPECT_FALSE(edit()->document()->isUndoAvailable());
    // The line end that closes the last line is no text: a save writes it back. An empty
    // last line stays.
    for (const auto &[bytes, text] : {std::pair{"a", u"a"_s},
                                      {"a\r\n", u"a"_s},
                                      {"a\n", u"a"_s},
                                      {"a\r", u"a"_s},
                                      {"a\r\n\r\n", u"a\r\n"_s},
                                      {"\r\n", u""_s}}) {
        ASSERT_TRUE(textfile::writeBytes(txt, bytes));
        ASSERT_TRUE(box.LoadFile(txt));
        EXPECT_EQ(box.Text(), text) << bytes;
    }

    // Text: Windows-1251 and one more CR LF. RTF: what TextRTF() gives, and it reads back.
    box.setText(u"Первая\r\nвторая ž"_s);
    ASSERT_TRUE(box.SaveFile(txt, RichTextBox::FileType::Text));
    EXPECT_EQ(textfile::readText(txt), u"Первая\r\nвторая ?\r\n"_s);
    ASSERT_TRUE(box.SaveFile(rich));
    EXPECT_EQ(textfile::readText(rich), box.TextRTF());
    box.setText({});
    ASSERT_TRUE(box.LoadFile(rich));
    EXPECT_EQ(box.Text(), u"Первая\r\nвторая ž"_s);
    ASSERT_TRUE(box.LoadFile(rich, RichTextBox::FileType::Text)); // shows the RTF source
    EXPECT_EQ(box.Text() + u"\r\n"_s, textfile::readText(rich));

    const QString before = box.Text();
    select(2, 3);
    QSignalSpy changed(&box, &RichTextBox::changed);
    for (const QString &bad : {dir.filePath(u"missing.txt"_s), dir.path(), QString()})
        EXPECT_FALSE(box.LoadFile(bad)) << bad.toStdString();
    for (const auto type : {RichTextBox::FileType::Rtf, RichTextBox::FileType::Text})
        EXPECT_FALSE(box.SaveFile(dir.filePath(u"no/such/folder/x"_s), type));
    EXPECT_EQ(std::tuple(box.Text(), sel(), changed.count(), box.errorString().isEmpty()),
              std::tuple(before, std::tuple(2, 3, before.mid(2, 3)), 0, false));
    ASSERT_TRUE(box.LoadFile(book));
    EXPECT_TRUE(box.errorString().isEmpty()) << "a good load clears the last failure";
}

TEST_F(RichTextBoxTest, UserInputAndSignals)
{
    box.resize(300, 200);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    QSignalSpy changed(&box, &RichTextBox::changed);
    QSignalSpy clicked(&box, &RichTextBox::clicked);
    QSignalSpy doubleClicked(&box, &RichTextBox::doubleClicked);
    box.setFont(QFont(u"DejaVu Serif"_s, 20));
    box.setText(u"первая строка\r\nвторая строка"_s);
    QSignalSpy selection(&box, &RichTextBox::selectionChanged);
    select(4, 3);
    box.setSelBold(true);
    EXPECT_EQ(std::tuple(selection.count(), changed.count()), std::tuple(2, 1));
    EXPECT_TRUE(box.TextRTF().contains(u"DejaVu Serif;"_s) && box.TextRTF().contains(u"\\fs40 "_s));
    QPalette palette = box.palette();
    palette.setColor(QPalette::Base, RichTextBox::fromRgbValue(65535)); // yellow
    box.setPalette(palette);
    const QImage image = box.grab().toImage();
    EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() - 10), QColor(255, 255, 0));

    // A click puts the caret under the mouse first, then reports; a drag is no click.
    const QPoint second = edit()->cursorRect(QTextCursor(edit()->document()->findBlockByNumber(1))).center();
    int caretAtClick = -1;
    QObject::connect(&box, &RichTextBox::clicked, &box, [&] { caretAtClick = box.SelStart(); });
    QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, second + QPoint(1, 0));
    EXPECT_EQ(caretAtClick, 15);
    QTest::mouseDClick(box.viewport(), Qt::LeftButton, {}, second + QPoint(20, 0));
    ASSERT_EQ(doubleClicked.count(), 1);
    const int at = doubleClicked.at(0).at(0).toInt();
    EXPECT_TRUE(at > 15 && at <= 28) << at;
    EXPECT_EQ(box.SelText(), u"вторая"_s); // and selects the word as usual
    QTest::mousePress(box.viewport(), Qt::LeftButton, {}, second);
    QTest::mouseMove(box.viewport(), second + QPoint(60, 0));
    QTest::mouseRelease(box.viewport(), Qt::LeftButton, {}, second + QPoint(60, 0));
    EXPECT_EQ(clicked.count(), 1);

    // Locked stops the user, not the program; the user can still select, here backwards.
    auto *data = new QMimeData;
    data->setText(u"x\u2028y\nz"_s);
    QApplication::clipboard()->setMimeData(data);
    box.setText(u"abc"_s);
    box.setSelStart(3);
    box.setLocked(true);
    QTest::keyClicks(edit(), u"xy"_s);
    edit()->paste();
    box.setSelText(u"\r\nd"_s);
    EXPECT_EQ(box.Text(), u"abc\r\nd"_s);
    for (int i = 0; i < 2; ++i)
        QTest::keyClick(edit(), Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(sel(), std::tuple(3, 3, u"\r\nd"_s));
    // Typed and pasted line breaks of every kind are CR LF.
    box.setLocked(false);
    box.setSelStart(1);
    QTest::keyClick(edit(), Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClick(edit(), Qt::Key_Return);
    EXPECT_EQ(std::tuple(box.Text(), box.SelStart()), std::tuple(u"a\r\n\r\nbc\r\nd"_s, 5));
    edit()->paste();
    EXPECT_EQ(box.Text(), u"a\r\n\r\nx\r\ny\r\nzbc\r\nd"_s);
}

TEST_F(RichTextBoxTest, BatchedEditsReadBackAtOnceAndReportOnceAtTheEnd)
{
    box.setText(u"кот\r\nкот кот"_s);
    box.setSelStart(2);
    QSignalSpy changed(&box, &RichTextBox::changed);
    box.beginEdits();
    box.beginEdits(); // pairs nest
    for (const int at : {5, 9}) {
        select(at, 3);
        box.setSelColor(Qt::green);
        box.setSelText(u"пёс"_s);
    }
    box.endEdits();
    EXPECT_EQ(box.Text(), u"кот\r\nпёс пёс"_s);
    EXPECT_EQ(box.SelStart(), 12);
    box.setSelStart(0);
    box.endEdits();
    box.endEdits(); // an unpaired end changes nothing
    EXPECT_EQ(std::tuple(changed.count(), box.SelStart()), std::tuple(1, 0));
    select(9, 3);
    EXPECT_EQ(box.SelColor(), QColor(Qt::green));
}
