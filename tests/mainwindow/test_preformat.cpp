#include "preformat.h"

#include "cp1251.h"
#include "textfile.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

using preformat::applyStep;
using preformat::replaceAll;

namespace {

QString nbsp()
{
    return QString(cp1251::chr(160));
}
QString emDash()
{
    return QString(cp1251::chr(151));
}

} // namespace

TEST(PreformatReplaceAll, LeftToRightWithoutOverlapOrRescan)
{
    EXPECT_EQ(replaceAll(u"aaaaa", u"aa", u"a"), QStringLiteral("aaa"));
    // The inserted text holds the pattern again and is not searched.
    EXPECT_EQ(replaceAll(u"x-y", u"-", u"--"), QStringLiteral("x--y"));
    EXPECT_EQ(replaceAll(u"ab", u"", u"z"), QStringLiteral("ab"));
    EXPECT_EQ(replaceAll(u"", u"a", u"b"), QString());
    EXPECT_EQ(replaceAll(u"Ёлка ёлка", u"ёЛ", u"*"), QStringLiteral("*ка *ка"));
    EXPECT_EQ(replaceAll(u"Ёлка ёлка", u"ёл", u"*", Qt::CaseSensitive), QStringLiteral("Ёлка *ка"));
}

TEST(PreformatSteps, LineBreaks)
{
    // 1: an empty line between two lines becomes the paragraph mark.
    EXPECT_EQ(applyStep(1, u"Первый абзац.\r\n\r\nВторой абзац."),
              QStringLiteral("Первый абзац.\r\n Второй абзац."));
    EXPECT_EQ(applyStep(1, u"a\r\n\r\n\r\nb"), QStringLiteral("a\r\n \r\nb"));
    EXPECT_EQ(applyStep(1, u"a\r\n\r\n\r\n\r\nb"), QStringLiteral("a\r\n \r\n b"));
    // 2 and 3: only doubled lone breaks change; a single lone LF or CR stays.
    EXPECT_EQ(applyStep(2, u"a\nb\n\nc\n\n\nd"), QStringLiteral("a\nb\r\n c\r\n \nd"));
    EXPECT_EQ(applyStep(3, u"a\rb\r\rc"), QStringLiteral("a\rb\r\n c"));
    EXPECT_EQ(applyStep(2, u"a\rb"), QStringLiteral("a\rb"));
    EXPECT_EQ(applyStep(3, u"a\nb"), QStringLiteral("a\nb"));
    // 4: LF CR is turned round; CR LF is left alone.
    EXPECT_EQ(applyStep(4, u"a\n\rb\r\nc"), QStringLiteral("a\r\nb\r\nc"));
    EXPECT_EQ(applyStep(4, u"\n\r\n\r"), QStringLiteral("\r\n\r\n"));
}

TEST(PreformatSteps, BracketsAndCharacters)
{
    EXPECT_EQ(applyStep(8, applyStep(7, u"a(b)")), QStringLiteral("a ( b ) "));
    EXPECT_EQ(applyStep(6, applyStep(5, u"[x]")), QStringLiteral(" [ x ] "));
    EXPECT_EQ(applyStep(7, u"[x]"), QStringLiteral("[x]"));
    EXPECT_EQ(applyStep(9, QStringLiteral("10") + nbsp() + QStringLiteral("кг")), QStringLiteral("10 кг"));
    EXPECT_EQ(applyStep(10, u"a\tb\t\tc"), QStringLiteral("a b  c"));
    EXPECT_EQ(applyStep(11, QStringLiteral("a") + emDash() + emDash() + QStringLiteral("b")),
              QStringLiteral("a--b"));
    // The en dash and the hyphen are not em dashes.
    EXPECT_EQ(applyStep(11, u"a\u2013b-c"), QStringLiteral("a\u2013b-c"));
    EXPECT_EQ(applyStep(0, u"(x)"), QStringLiteral("(x)"));
    EXPECT_EQ(applyStep(13, u"(x)"), QStringLiteral("(x)"));
}

TEST(PreformatSteps, BlanksAreHalvedThenDashesWidened)
{
    EXPECT_EQ(applyStep(12, u"a  b"), QStringLiteral("a b"));
    EXPECT_EQ(applyStep(12, u"a   b"), QStringLiteral("a  b"));
    EXPECT_EQ(applyStep(12, u"a    b"), QStringLiteral("a  b"));
    EXPECT_EQ(applyStep(12, u"a     b"), QStringLiteral("a   b"));
    // The blank added after a dash is not halved again.
    EXPECT_EQ(applyStep(12, u"слово - слово"), QStringLiteral("слово -  слово"));
    EXPECT_EQ(applyStep(12, u"слово  -слово"), QStringLiteral("слово - слово"));
    // A hyphen inside a word is left alone; every dash after a blank widens.
    EXPECT_EQ(applyStep(12, u"кто-то - -"), QStringLiteral("кто-то -  - "));
}

TEST(PreformatRun, WholePipeline)
{
    EXPECT_EQ(preformat::run(QStringLiteral("Глава 1\r\n\r\nОн сказал (тихО) — да.")).text,
              QStringLiteral("Глава 1\r\n Он сказал ( тихО ) -  да."));
    EXPECT_EQ(preformat::run(QStringLiteral("слово — слово")).text, QStringLiteral("слово -  слово"));
    // A dialogue line after an empty line: blank, dash, two blanks.
    EXPECT_EQ(preformat::run(QStringLiteral("Он:\r\n\r\n— Привет")).text,
              QStringLiteral("Он:\r\n -  Привет"));
    // A TAB next to a blank merges with it; a TAB alone stays one blank.
    EXPECT_EQ(preformat::run(QStringLiteral("a\t b\tc")).text, QStringLiteral("a b c"));
    // Brackets already spaced: the added blanks are halved away again.
    EXPECT_EQ(preformat::run(QStringLiteral("a ( b ) c")).text, QStringLiteral("a ( b ) c"));
    // LF CR is turned round after the empty-line step, so this empty line survives.
    EXPECT_EQ(preformat::run(QStringLiteral("a\n\r\n\rb")).text, QStringLiteral("a\r\n\r\nb"));
    const preformat::Outcome empty = preformat::run(QString());
    EXPECT_TRUE(empty.text.isEmpty());
    EXPECT_EQ(empty.stepsDone, 12);
    EXPECT_FALSE(empty.cancelled);
}

TEST(PreformatRun, ProgressAndCancel)
{
    const QString source = QStringLiteral("a\r\n\r\n\tb (c) —  d");
    std::vector<int> values;
    preformat::Hooks hooks;
    hooks.progressed = [&values](int v) { values.push_back(v); };
    const preformat::Outcome full = preformat::run(source, hooks);
    EXPECT_EQ(values, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
    EXPECT_FALSE(full.cancelled);

    // Cancel seen at the k+1-th check: steps 1..k done, no further progress.
    for (int k = 0; k <= 12; ++k) {
        int checks = 0;
        values.clear();
        hooks.cancelRequested = [&checks, k] { return ++checks > k; };
        const preformat::Outcome out = preformat::run(source, hooks);
        QString expected = source;
        for (int step = 1; step <= k; ++step)
            expected = applyStep(step, expected);
        EXPECT_TRUE(out.cancelled) << k;
        EXPECT_EQ(out.stepsDone, k);
        EXPECT_EQ(out.text, expected) << k;
        EXPECT_EQ(static_cast<int>(values.size()), k);
    }
    // Cancelled only at the final check: all twelve steps stay, the final tick is not given.
    int checks = 0;
    values.clear();
    hooks.cancelRequested = [&checks] { return ++checks > 12; };
    const preformat::Outcome late = preformat::run(source, hooks);
    EXPECT_TRUE(late.cancelled);
    EXPECT_EQ(late.text, full.text);
    EXPECT_EQ(values.back(), 12);
}

// Open, pre-format and save a small Windows-1251 file: the bytes on disk are the steps'
// result plus the one CR LF every text save adds.
TEST(PreformatRun, OpenPreformatSaveBytes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("глава.txt"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(cp1251::encode(QStringLiteral("Глава 1\r\n\r\nОн сказал (тихо) — да.\r\n")));
    }
    const std::optional<QString> loaded = textfile::readText(path);
    ASSERT_TRUE(loaded.has_value());
    ASSERT_TRUE(textfile::writeText(path, preformat::run(*loaded).text));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), cp1251::encode(QStringLiteral("Глава 1\r\n Он сказал ( тихо ) -  да.\r\n\r\n")));
}

TEST(PreformatRun, CorpusBookKeepsItsWordsAndLosesItsEmptyLines)
{
    const std::optional<QString> book =
        textfile::readText(QStringLiteral(QUENVALE_CORPUS_DIR "/kapitanskaya_dochka.txt"));
    ASSERT_TRUE(book.has_value());
    const QString out = preformat::run(*book).text;
    EXPECT_FALSE(out.contains(QStringLiteral("\r\n\r\n")));
    EXPECT_FALSE(out.contains(emDash()));
    EXPECT_FALSE(out.contains(QChar(u'\t')));
    EXPECT_FALSE(out.contains(nbsp()));
    // Only blanks were added or removed.
    QString a = *book, b = out;
    for (QString *s : {&a, &b}) {
        s->replace(emDash(), QStringLiteral("-"));
        s->remove(QRegularExpression(QStringLiteral("[\\s\\x{00A0}]")));
    }
    EXPECT_EQ(a, b);
}
