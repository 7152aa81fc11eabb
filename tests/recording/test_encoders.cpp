// Encoder command lines.
#include "recording/blockoutput.h"
#include "recording/encoderprocess.h"
#include "recording/encoders.h"

#include <QFileInfo>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString kBook = u"/книги/Тихий_Дон/"_s;
const encoders::BlockPaths kBlock =
    encoders::blockPaths(u"/книги/Тихий_Дон"_s, u"0012"_s, u"Тихий_Дон"_s, true);

encoders::Settings settings(int format, bool lowRate = false)
{
    const QString mp3 = u" -b32 -h -m m  --strictly-enforce-ISO "_s, ogg = u"-q 2 --comment \"a=б в\""_s;
    return {format, mp3, u"Чтец"_s, u"Том 1"_s, ogg, lowRate, false, false};
}

} // namespace

TEST(EncoderSteps, EveryFormatsProgramsAndArgumentsInOrder)
{
    // Arguments joined by "|", the book folder written as "~/"; one line a step.
    const QStringList amrRoad = {u"lame|-h|~/0012.wav|~/0012_Тихий_Дон.part.mp3"_s,
                                 u"madplay|-m|-R|8000|-b|16|-o|wave:~/0012.wav|~/0012_Тихий_Дон.part.mp3"_s};
    const std::pair<encoders::Settings, QStringList> cases[] = {
        {settings(encoders::Mp3),
         {u"lame|-b32|-h|-m|m|--strictly-enforce-ISO|--id3v2-only|--id3v2-utf16|--ta|Чтец|--tt|Том 1|"
          u"--tg|101|~/0012.wav|~/0012_Тихий_Дон.mp3"_s}},
        {settings(encoders::Ogg), {u"oggenc|-q|2|--comment|a=б в|-o|~/0012.ogg|~/0012.wav"_s}},
        {settings(encoders::Amr),
         amrRoad + QStringList{u"sox|~/0012.wav|-t|amr-nb|-C|7|~/0012_Тихий_Дон.amr"_s}},
        {settings(encoders::Amr, true),
         amrRoad + QStringList{u"sox|~/0012.wav|-t|amr-nb|-C|0|~/0012_Тихий_Дон.amr"_s}},
        {settings(encoders::Vmo), {u"wav2vmo|~/0012.wav"_s}},
        {settings(encoders::Wma), {u"ffmpeg|-y|-i|~/0012.wav|-c:a|wmav2|~/0012_Тихий_Дон.wma"_s}},
        {settings(encoders::Wav), {}},
    };
    for (const auto &[given, expected] : cases) {
        QStringList steps;
        for (const encoders::Step &step : encoders::steps(given, kBlock)) {
            steps << (QStringList{step.program} + step.arguments).join(u'|').replace(kBook, u"~/"_s);
            // The runner swaps the output for a temporary name in exactly this argument.
            EXPECT_TRUE(step.outputArgument < 0 || step.arguments[step.outputArgument].endsWith(step.output))
                << qPrintable(steps.last());
            // A new start moves what the recording made out of the book folder.
            for (const QString &made : {step.output, encoders::temporaryName(step.output)})
                EXPECT_TRUE(step.output.isEmpty() ||
                            blockoutput::isBlockFile(QFileInfo(made).fileName(), u"Тихий_Дон"_s));
        }
        EXPECT_EQ(steps, expected);
    }
    // Exactly the names the recording makes of the book's title, an empty one as well.
    EXPECT_TRUE(blockoutput::isBlockFile(QFileInfo(kBlock.txt).fileName(), u"Тихий_Дон"_s));
    EXPECT_TRUE(blockoutput::isBlockFile(u"0001_.mp3"_s, QString()));
    for (const char *own :
         {"cover.jpg", "012.mp3", "0012 копия.mp3", "0012_заметки.txt", ".blockcut", "0002_copy_by_user.mp3",
          "0012_Дон.mp3", "0000.wav", "+012.wav", "0012.part.part.wav"})
        EXPECT_FALSE(blockoutput::isBlockFile(QString::fromUtf8(own), u"Тихий_Дон"_s)) << own;
    encoders::Settings untagged = settings(encoders::Mp3);
    untagged.artist.clear();
    EXPECT_EQ(encoders::steps(untagged, kBlock)[0].arguments.mid(8, 2), QStringList({u""_s, u"--tt"_s}));
}

TEST(EncoderOutput, TerminalControlsGoEvenWhenCutBetweenPieces)
{
    encoderprocess::TerminalFilter f;
    EXPECT_EQ(f.feed(u"\x1b[Kок\x1b["_s), u"ок"_s);
    EXPECT_EQ(f.feed(u"1;2Hдва\x1b]0;title\a\tтри\r\n\x1b"_s), u"два\tтри\r\n"_s);
    EXPECT_EQ(f.feed(u"Aи\a\x7f\bк"_s), u"ик"_s);
}
