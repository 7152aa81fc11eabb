#include "richtext/crlfpositions.h"
#include "richtext/richtextbox.h"

#include "cp1251.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMimeData>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

#include <gtest/gtest.h>

namespace {

// Every CR LF, lone CR and lone LF as CR LF: what Text() must give for a text set as plain.
QString crlfReference(const QString &s)
{
    QString out;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == u'\r' && i + 1 < s.size() && s[i + 1] == u'\n')
            ++i;
        if (s[i] == u'\r' || s[i] == u'\n')
            out += QStringLiteral("\r\n");
        else
            out += s[i];
    }
    return out;
}

QStringList mappingSamples()
{
    QStringList samples = {
        QString(),
        QStringLiteral("a"),
        QStringLiteral("\r\n"),
        QStringLiteral("\r\n\r\n"),
        QStringLiteral("\r\nabc"),
        QStringLiteral("abc\r\n"),
        QStringLiteral("a\r\n\r\nb"),
        QStringLiteral("\n\n"),
        QStringLiteral("\r\r"),
        QStringLiteral("\n\r"),
        QStringLiteral("a\rb\nc\r\nd"),
        QStringLiteral("Привет\r\n мир\r\n\r\n@@@@@\r\n   Глава"),
    };
    // Random texts over a small alphabet rich in line ends, fixed seed.
    QRandomGenerator rng(1251);
    const QString alphabet = QStringLiteral("aЖ \r\n\r\n");
    for (int n = 0; n < 300; ++n) {
        QString s;
        const int len = rng.bounded(0, 24);
        for (int i = 0; i < len; ++i)
            s += alphabet[rng.bounded(static_cast<int>(alphabet.size()))];
        samples << s;
    }
    return samples;
}

QString quoted(const QString &s)
{
    QString q = s;
    q.replace(u'\r', QStringLiteral("\\r")).replace(u'\n', QStringLiteral("\\n"));
    return QLatin1Char('"') + q + QLatin1Char('"');
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

    RichTextBox box;
};

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

TEST(CrLfPositions, MapsEveryPositionBothWays)
{
    for (const QString &sample : mappingSamples()) {
        SCOPED_TRACE(quoted(sample).toStdString());
        QTextDocument doc;
        doc.setPlainText(sample);
        const QString raw = doc.toRawText();
        const QString crlf = crlfReference(sample);
        const CrLfPositions map(doc);
        ASSERT_EQ(map.length(), crlf.size());

        for (int q = 0; q <= raw.size(); ++q) {
            const int c = map.toCrLf(q);
            if (q < raw.size()) {
                if (raw[q] == QChar::ParagraphSeparator)
                    EXPECT_EQ(crlf.mid(c, 2), QStringLiteral("\r\n")) << "qt " << q;
                else
                    EXPECT_EQ(crlf[c], raw[q]) << "qt " << q;
            } else {
                EXPECT_EQ(c, crlf.size());
            }
            EXPECT_EQ(map.toQt(c), q);
        }
        for (int c = 0; c <= crlf.size(); ++c) {
            const bool betweenCrAndLf = c > 0 && c < crlf.size() && crlf[c - 1] == u'\r' && crlf[c] == u'\n';
            EXPECT_EQ(map.toCrLf(map.toQt(c)), betweenCrAndLf ? c + 1 : c) << "crlf " << c;
        }
        // Out of range positions are clamped.
        EXPECT_EQ(map.toQt(-3), 0);
        EXPECT_EQ(map.toQt(crlf.size() + 7), raw.size());
        EXPECT_EQ(map.toCrLf(-1), 0);
        EXPECT_EQ(map.toCrLf(raw.size() + 5), crlf.size());
    }
}

TEST_F(RichTextBoxTest, TextGivesEveryLineBreakAsCrLf)
{
    for (const QString &sample : mappingSamples()) {
        box.setText(sample);
        EXPECT_EQ(box.Text(), crlfReference(sample)) << quoted(sample).toStdString();
    }
    // Characters that a plain-text conversion might alter survive: no-break space, TAB, 0x98.
    const QString odd = QStringLiteral("a\u00A0b\tc\u0098d\u2014e");
    box.setText(odd);
    EXPECT_EQ(box.Text(), odd);
    // A soft line break becomes an ordinary one.
    box.setText(QStringLiteral("a\u2028b"));
    EXPECT_EQ(box.Text(), QStringLiteral("a\r\nb"));
}

TEST_F(RichTextBoxTest, SelectionCountsLineBreaksAsTwoCharacters)
{
    box.setText(QStringLiteral("ab\r\ncd\r\n\r\nef"));
    EXPECT_EQ(box.SelStart(), 0);
    EXPECT_EQ(box.SelLength(), 0);

    select(4, 2);
    EXPECT_EQ(box.SelText(), QStringLiteral("cd"));
    select(1, 4);
    EXPECT_EQ(box.SelText(), QStringLiteral("b\r\nc"));
    EXPECT_EQ(box.SelLength(), 4);
    select(6, 6);
    EXPECT_EQ(box.SelText(), QStringLiteral("\r\n\r\nef"));

    // Between CR and LF: the start of the next line. A selection ending there takes the
    // whole break.
    box.setSelStart(3);
    EXPECT_EQ(box.SelStart(), 4);
    select(1, 2);
    EXPECT_EQ(box.SelText(), QStringLiteral("b\r\n"));
    EXPECT_EQ(box.SelLength(), 3);

    // Setting the start empties the selection; lengths and starts are clamped.
    select(0, 3);
    box.setSelStart(5);
    EXPECT_EQ(box.SelLength(), 0);
    box.setSelStart(1000);
    EXPECT_EQ(box.SelStart(), 12);
    select(10, 1000);
    EXPECT_EQ(box.SelText(), QStringLiteral("ef"));
    select(2, -4);
    EXPECT_EQ(box.SelLength(), 0);
    box.setSelStart(-7);
    EXPECT_EQ(box.SelStart(), 0);
}

TEST_F(RichTextBoxTest, SelectionWrittenBackwardsReadsFromItsStart)
{
    box.setText(QStringLiteral("one\r\ntwo"));
    QTextCursor c = edit()->textCursor();
    c.setPosition(6);
    c.setPosition(1, QTextCursor::KeepAnchor);
    edit()->setTextCursor(c);
    EXPECT_EQ(box.SelStart(), 1);
    EXPECT_EQ(box.SelLength(), 6);
    EXPECT_EQ(box.SelText(), QStringLiteral("ne\r\ntw"));
}

TEST_F(RichTextBoxTest, SettingSelTextReplacesOrInserts)
{
    box.setText(QStringLiteral("abc def\r\nghi"));
    // Replace a selection; the caret follows the new text.
    select(4, 3);
    box.setSelText(QStringLiteral(">"));
    EXPECT_EQ(box.Text(), QStringLiteral("abc >\r\nghi"));
    EXPECT_EQ(box.SelStart(), 5);
    EXPECT_EQ(box.SelLength(), 0);

    // Insert at the caret, with line breaks of every kind: the chapter marker.
    box.setSelStart(7);
    box.setSelText(QStringLiteral("\r\n\r\n@@@@@\r\n   "));
    EXPECT_EQ(box.Text(), QStringLiteral("abc >\r\n\r\n\r\n@@@@@\r\n   ghi"));
    EXPECT_EQ(box.SelStart(), 7 + 14);
    box.setSelText(QStringLiteral("x\ry\nz"));
    EXPECT_EQ(box.Text(), QStringLiteral("abc >\r\n\r\n\r\n@@@@@\r\n   x\r\ny\r\nzghi"));

    // Replacing a selection that holds a line break joins the lines.
    box.setText(QStringLiteral("ab\r\ncd"));
    select(1, 4);
    box.setSelText(QString());
    EXPECT_EQ(box.Text(), QStringLiteral("ad"));
}

TEST_F(RichTextBoxTest, ColourChangesOnlyTheLook)
{
    box.setText(QStringLiteral("один два три"));
    QSignalSpy changed(&box, &RichTextBox::changed);
    select(5, 3);
    box.setSelColor(QColor(0, 255, 0));
    EXPECT_EQ(box.SelColor(), QColor(0, 255, 0));
    EXPECT_EQ(box.Text(), QStringLiteral("один два три"));
    EXPECT_EQ(changed.count(), 0);

    // Find-and-replace: the replacement takes the colour of the replaced hit.
    box.setSelText(QStringLiteral("пять"));
    EXPECT_EQ(changed.count(), 1);
    select(5, 4);
    EXPECT_EQ(box.SelColor(), QColor(0, 255, 0));
    select(0, 4);
    EXPECT_NE(box.SelColor(), QColor(0, 255, 0));

    // Typing colour: with an empty selection the colour applies to what is inserted next,
    // not to the neighbours.
    box.setSelStart(9);
    box.setSelColor(QColor(Qt::black));
    box.setSelText(QStringLiteral("X"));
    select(9, 1);
    EXPECT_EQ(box.SelColor(), QColor(Qt::black));
    select(8, 1);
    EXPECT_EQ(box.SelColor(), QColor(0, 255, 0));
}

TEST_F(RichTextBoxTest, MarksSurviveAnEditOfTheRtfSource)
{
    // How words get marked: select, colour red and bold; then back to plain at the caret.
    box.setText(QStringLiteral("Он сказал , замок открыт . Всё"));
    select(12, 6);
    EXPECT_EQ(box.SelText(), QStringLiteral("замок "));
    box.setSelColor(QColor(255, 0, 0));
    box.setSelBold(true);
    box.setSelStart(12);
    box.setSelColor(QColor(Qt::black));
    box.setSelBold(false);
    QString source = box.TextRTF();
    EXPECT_TRUE(source.startsWith(QStringLiteral("{\\rtf1\\ansi\\ansicpg1251")));
    source.replace(QStringLiteral(" , "), QStringLiteral(", "));
    source.replace(QStringLiteral(" . "), QStringLiteral(". "));
    box.setTextRTF(source);
    EXPECT_EQ(box.Text(), QStringLiteral("Он сказал, замок открыт. Всё"));
    select(11, 5);
    EXPECT_EQ(box.SelText(), QStringLiteral("замок"));
    EXPECT_EQ(box.SelColor(), QColor(255, 0, 0));
    EXPECT_TRUE(box.SelBold());
    select(17, 6);
    EXPECT_EQ(box.SelText(), QStringLiteral("открыт"));
    EXPECT_FALSE(box.SelBold());
    EXPECT_NE(box.SelColor(), QColor(255, 0, 0));
}

TEST_F(RichTextBoxTest, SettingTextDropsFormattingAndCaret)
{
    box.setText(QStringLiteral("red text"));
    select(0, 3);
    box.setSelColor(Qt::red);
    box.setSelStart(5);
    box.setText(QStringLiteral("new text"));
    EXPECT_EQ(box.SelStart(), 0);
    select(0, 3);
    EXPECT_NE(box.SelColor(), QColor(Qt::red));
    EXPECT_FALSE(box.TextRTF().contains(QStringLiteral("\\red255")));
    // A non-RTF source is taken as plain text.
    box.setTextRTF(QStringLiteral("просто {текст}"));
    EXPECT_EQ(box.Text(), QStringLiteral("просто {текст}"));
}

TEST_F(RichTextBoxTest, FindReturnsCrLfPositions)
{
    box.setText(QStringLiteral("Замок\r\nна замке, замок.\r\nЗАМОК_1"));
    EXPECT_EQ(box.Find(QStringLiteral("замок")), 0);
    EXPECT_EQ(box.Find(QStringLiteral("замок"), 0, -1, RichTextBox::MatchCase), 17);
    EXPECT_EQ(box.Find(QStringLiteral("замок"), 1), 17);
    EXPECT_EQ(box.Find(QStringLiteral("замок"), 1, -1, RichTextBox::WholeWord), 17);
    EXPECT_EQ(box.Find(QStringLiteral("замок"), 18, -1, RichTextBox::WholeWord), -1); // ЗАМОК_1 is one word
    EXPECT_EQ(box.Find(QStringLiteral("замок"), 18), 25);
    EXPECT_EQ(box.Find(QStringLiteral("замок"), 1, 21), -1); // the hit must end by `end`
    EXPECT_EQ(box.Find(QStringLiteral("замок"), 1, 22), 17);
    EXPECT_EQ(box.Find(QStringLiteral("замке"), 1, 15), 10);
    EXPECT_EQ(box.Find(QStringLiteral("\r\nна")), 5);
    EXPECT_EQ(box.Find(QString()), -1);
    EXPECT_EQ(box.Find(QStringLiteral("нет")), -1);
    EXPECT_EQ(box.Find(QStringLiteral("замок"), -5), 0);
    // Find leaves the selection alone.
    EXPECT_EQ(box.SelStart(), 0);
    EXPECT_EQ(box.SelLength(), 0);
}

TEST_F(RichTextBoxTest, LoadsPlainAndRtfFilesAndKeepsContentOnFailure)
{
    QTemporaryDir dir;
    const QString plain = dir.filePath(QStringLiteral("book.txt"));
    const QString rich = dir.filePath(QStringLiteral("page.rtf"));
    ASSERT_TRUE(writeAll(plain, cp1251::encode(QStringLiteral("Глава\r\n\r\nтекст\nстрока\rещё\r\n"))));
    const QByteArray rtfSource = "{\\rtf1\\ansi\\ansicpg1251{\\colortbl ;\\red255\\green0\\blue0;}"
                                 "\\cf1 \\'ea\\'f0\\'e0\\'f1\\'ed\\'fb\\'e9\\cf0\\par \\'e4\\'e0\\par}";
    ASSERT_TRUE(writeAll(rich, rtfSource));

    ASSERT_TRUE(box.LoadFile(plain));
    EXPECT_EQ(box.Text(), QStringLiteral("Глава\r\n\r\nтекст\r\nстрока\r\nещё\r\n"));
    EXPECT_FALSE(edit()->document()->isUndoAvailable());

    ASSERT_TRUE(box.LoadFile(rich));
    EXPECT_EQ(box.Text(), QStringLiteral("красный\r\nда"));
    select(0, 7);
    EXPECT_EQ(box.SelColor(), QColor(255, 0, 0));

    // As plain text an RTF file shows its source.
    ASSERT_TRUE(box.LoadFile(rich, RichTextBox::FileType::Text));
    EXPECT_EQ(box.Text(), cp1251::decode(rtfSource));

    box.setText(QStringLiteral("остаётся"));
    select(2, 3);
    QSignalSpy changed(&box, &RichTextBox::changed);
    EXPECT_FALSE(box.LoadFile(dir.filePath(QStringLiteral("missing.txt"))));
    EXPECT_FALSE(box.LoadFile(dir.path()));
    EXPECT_FALSE(box.LoadFile(QString()));
    EXPECT_EQ(box.Text(), QStringLiteral("остаётся"));
    EXPECT_EQ(box.SelStart(), 2);
    EXPECT_EQ(box.SelLength(), 3);
    EXPECT_EQ(changed.count(), 0);
}

TEST_F(RichTextBoxTest, SavesPlainTextWithOneCrLfAndRtfThatReadsBack)
{
    QTemporaryDir dir;
    box.setText(QStringLiteral("Первая\r\nвторая ž"));
    select(0, 6);
    box.setSelColor(QColor(0, 0, 255));

    const QString txt = dir.filePath(QStringLiteral("out.txt"));
    ASSERT_TRUE(box.SaveFile(txt, RichTextBox::FileType::Text));
    EXPECT_EQ(readAll(txt), cp1251::encode(QStringLiteral("Первая\r\nвторая ?\r\n")));

    const QString rich = dir.filePath(QStringLiteral("out.rtf"));
    ASSERT_TRUE(box.SaveFile(rich));
    EXPECT_TRUE(readAll(rich).startsWith("{\\rtf1\\ansi\\ansicpg1251"));
    RichTextBox other;
    ASSERT_TRUE(other.LoadFile(rich));
    EXPECT_EQ(other.Text(), QStringLiteral("Первая\r\nвторая ž"));
    other.setSelStart(0);
    other.setSelLength(6);
    EXPECT_EQ(other.SelColor(), QColor(0, 0, 255));

    EXPECT_FALSE(box.SaveFile(dir.filePath(QStringLiteral("no/such/folder/x.rtf"))));
    EXPECT_FALSE(
        box.SaveFile(dir.filePath(QStringLiteral("no/such/folder/x.txt")), RichTextBox::FileType::Text));
}

TEST_F(RichTextBoxTest, LockedStopsTheUserButNotTheProgram)
{
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    box.setText(QStringLiteral("abc"));
    box.setSelStart(3);
    box.setLocked(true);
    EXPECT_TRUE(box.Locked());
    QTest::keyClicks(edit(), QStringLiteral("xy"));
    EXPECT_EQ(box.Text(), QStringLiteral("abc"));
    box.setSelText(QStringLiteral("d"));
    EXPECT_EQ(box.Text(), QStringLiteral("abcd"));
    // Still movable and selectable from the keyboard.
    QTest::keyClick(edit(), Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(box.SelText(), QStringLiteral("d"));

    box.setLocked(false);
    EXPECT_FALSE(box.Locked());
    box.setSelStart(4);
    QTest::keyClicks(edit(), QStringLiteral("e"));
    EXPECT_EQ(box.Text(), QStringLiteral("abcde"));
}

TEST_F(RichTextBoxTest, TypedAndPastedLineBreaksAreCrLf)
{
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    box.setText(QStringLiteral("ab"));
    box.setSelStart(1);
    QTest::keyClick(edit(), Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClick(edit(), Qt::Key_Return);
    EXPECT_EQ(box.Text(), QStringLiteral("a\r\n\r\nb"));
    EXPECT_EQ(box.SelStart(), 5);

    auto *data = new QMimeData;
    data->setText(QStringLiteral("x\u2028y\nz"));
    QApplication::clipboard()->setMimeData(data);
    edit()->paste();
    EXPECT_EQ(box.Text(), QStringLiteral("a\r\n\r\nx\r\ny\r\nzb"));
}

TEST_F(RichTextBoxTest, ReportsChangesSelectionAndClicks)
{
    box.resize(300, 200);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    QSignalSpy changed(&box, &RichTextBox::changed);
    QSignalSpy clicked(&box, &RichTextBox::clicked);
    QSignalSpy doubleClicked(&box, &RichTextBox::doubleClicked);

    box.setText(QStringLiteral("первая строка\r\nвторая строка"));
    EXPECT_EQ(changed.count(), 1);
    QSignalSpy selection(&box, &RichTextBox::selectionChanged);
    box.setSelStart(4);
    box.setSelLength(3);
    EXPECT_EQ(selection.count(), 2);
    box.setSelBold(true);
    box.setFont(QFont(QStringLiteral("DejaVu Serif"), 20));
    EXPECT_EQ(changed.count(), 1);

    // A click puts the caret under the mouse first, then reports.
    const QRect second = edit()->cursorRect(QTextCursor(edit()->document()->findBlockByNumber(1)));
    int caretAtClick = -1;
    QObject::connect(&box, &RichTextBox::clicked, &box, [&] { caretAtClick = box.SelStart(); });
    QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, second.center() + QPoint(1, 0));
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(caretAtClick, 15);

    QTest::mouseDClick(box.viewport(), Qt::LeftButton, {}, second.center() + QPoint(20, 0));
    ASSERT_EQ(doubleClicked.count(), 1);
    EXPECT_GT(doubleClicked.at(0).at(0).toInt(), 15);
    EXPECT_LE(doubleClicked.at(0).at(0).toInt(), 28);

    // A drag selects and is no click.
    clicked.clear();
    QTest::mousePress(box.viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseMove(box.viewport(), second.center() + QPoint(60, 0));
    QTest::mouseRelease(box.viewport(), Qt::LeftButton, {}, second.center() + QPoint(60, 0));
    EXPECT_EQ(clicked.count(), 0);
}

TEST_F(RichTextBoxTest, FontAndBackgroundReachTheText)
{
    box.setFont(QFont(QStringLiteral("DejaVu Serif"), 20));
    box.setText(QStringLiteral("шрифт"));
    EXPECT_TRUE(box.TextRTF().contains(QStringLiteral("DejaVu Serif;")));
    EXPECT_TRUE(box.TextRTF().contains(QStringLiteral("\\fs40 ")));

    QPalette palette = box.palette();
    palette.setColor(QPalette::Base, RichTextBox::fromRgbValue(65535)); // yellow
    box.setPalette(palette);
    box.resize(200, 100);
    const QImage image = box.grab().toImage();
    EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() - 10), QColor(255, 255, 0));
}
