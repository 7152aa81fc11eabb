// Encoder command lines and the files each output format keeps.
#include "recording/encoders.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using encoders::Settings;
using encoders::Step;

namespace {

const QString kBook = u"/home/чтец/книги/Тихий_Дон"_s;
const encoders::BlockPaths kBlock12 = encoders::blockPaths(kBook, u"0012"_s, u"Тихий_Дон"_s, true);

QString at(const QString &name)
{
    return kBook + u'/' + name;
}

Settings format(int f)
{
    Settings s;
    s.format = f;
    return s;
}

} // namespace

TEST(BlockPaths, OnlyCompressedFilesCarryTheTitle)
{
    const encoders::BlockPaths plain = encoders::blockPaths(kBook, u"0003"_s, u"T"_s, false);
    EXPECT_EQ(QStringList({plain.txt, plain.wav, plain.mp3, plain.ogg, plain.amr, plain.vmo, plain.wma}),
              QStringList({at(u"0003.txt"_s), at(u"0003.wav"_s), at(u"0003.mp3"_s), at(u"0003.ogg"_s),
                           at(u"0003.amr"_s), at(u"0003.vmo"_s), at(u"0003.wma"_s)}));
    EXPECT_EQ(QStringList({kBlock12.txt, kBlock12.wav, kBlock12.mp3, kBlock12.ogg, kBlock12.amr, kBlock12.vmo,
                           kBlock12.wma}),
              QStringList({at(u"0012.txt"_s), at(u"0012.wav"_s), at(u"0012_Тихий_Дон.mp3"_s), at(u"0012.ogg"_s),
                           at(u"0012_Тихий_Дон.amr"_s), at(u"0012_Тихий_Дон.vmo"_s),
                           at(u"0012_Тихий_Дон.wma"_s)}));
}

TEST(EncoderSteps, EveryFormatsCommandLinesInOrder)
{
    Settings mp3 = format(encoders::Mp3);
    mp3.mp3Options = u" -b32 -h -m m  --strictly-enforce-ISO "_s;
    mp3.artist = u"Чтец"_s;
    mp3.title = u"Том 1"_s;
    Settings untagged = mp3; // empty tags are still passed, as empty arguments
    untagged.artist.clear();
    untagged.title.clear();
    Settings ogg = format(encoders::Ogg);
    ogg.oggOptions = u"-q 2 --comment \"genre=Аудиокнига\""_s;
    Settings amrLow = format(encoders::Amr);
    amrLow.amrLowRate = true;

    const QString wav = at(u"0012.wav"_s), mp3File = at(u"0012_Тихий_Дон.mp3"_s);
    const Step lameAmr{u"lame"_s, {u"-h"_s, wav, mp3File}, mp3File, 2};
    const Step madplay{u"madplay"_s,
                       {u"-m"_s, u"-R"_s, u"8000"_s, u"-b"_s, u"16"_s, u"-o"_s, u"wave:"_s + wav, mp3File},
                       wav,
                       6};
    auto sox = [&](const char *mode) {
        const QString amr = at(u"0012_Тихий_Дон.amr"_s);
        return Step{u"sox"_s, {wav, u"-t"_s, u"amr-nb"_s, u"-C"_s, QString::fromLatin1(mode), amr}, amr, 5};
    };
    const QString wma = at(u"0012_Тихий_Дон.wma"_s), oggFile = at(u"0012.ogg"_s);

    const struct
    {
        const char *name;
        Settings settings;
        QList<Step> steps;
    } cases[] = {
        {"mp3",
         mp3,
         {{u"lame"_s,
           {u"-b32"_s, u"-h"_s, u"-m"_s, u"m"_s, u"--strictly-enforce-ISO"_s, u"--id3v2-utf16"_s, u"--ta"_s,
            u"Чтец"_s, u"--tt"_s, u"Том 1"_s, u"--tg"_s, u"101"_s, wav, mp3File},
           mp3File,
           13}}},
        {"mp3 without tags",
         untagged,
         {{u"lame"_s,
           {u"-b32"_s, u"-h"_s, u"-m"_s, u"m"_s, u"--strictly-enforce-ISO"_s, u"--id3v2-utf16"_s, u"--ta"_s, u""_s,
            u"--tt"_s, u""_s, u"--tg"_s, u"101"_s, wav, mp3File},
           mp3File,
           13}}},
        {"ogg",
         ogg,
         {{u"oggenc"_s,
           {u"-q"_s, u"2"_s, u"--comment"_s, u"genre=Аудиокнига"_s, u"-o"_s, oggFile, wav},
           oggFile,
           5}}},
        {"ogg without options", format(encoders::Ogg), {{u"oggenc"_s, {u"-o"_s, oggFile, wav}, oggFile, 1}}},
        {"amr 12.2", format(encoders::Amr), {lameAmr, madplay, sox("7")}},
        {"amr 4.75", amrLow, {lameAmr, madplay, sox("0")}},
        {"vmo", format(encoders::Vmo), {{u"wav2vmo"_s, {wav}, QString(), -1}}},
        {"wma",
         format(encoders::Wma),
         {{u"ffmpeg"_s, {u"-y"_s, u"-i"_s, wav, u"-c:a"_s, u"wmav2"_s, wma}, wma, 5}}},
        {"wav", format(encoders::Wav), {}},
    };
    for (const auto &c : cases) {
        const QList<Step> steps = encoders::steps(c.settings, kBlock12);
        ASSERT_EQ(steps.size(), c.steps.size()) << c.name;
        for (qsizetype i = 0; i < steps.size(); ++i) {
            EXPECT_EQ(steps[i].program, c.steps[i].program) << c.name << " step " << i;
            EXPECT_EQ(steps[i].arguments, c.steps[i].arguments) << c.name << " step " << i;
            EXPECT_EQ(steps[i].output, c.steps[i].output) << c.name << " step " << i;
            EXPECT_EQ(steps[i].outputArgument, c.steps[i].outputArgument) << c.name << " step " << i;
        }
    }
}

TEST(EncoderSteps, DeletionsPerFormatAndKeepChoices)
{
    const QString wav = kBlock12.wav, mp3 = kBlock12.mp3;
    const struct
    {
        int format;
        bool keepMp3;
        bool keepWav;
        QStringList deleted;
    } cases[] = {
        {encoders::Wav, false, false, {}},       {encoders::Mp3, true, true, {wav}},
        {encoders::Ogg, true, true, {wav}},      {encoders::Amr, false, true, {mp3, wav}},
        {encoders::Amr, true, false, {wav}},     {encoders::Vmo, true, false, {wav}},
        {encoders::Vmo, false, true, {}},        {encoders::Wma, false, false, {wav}},
        {encoders::Wma, false, true, {}},
    };
    for (const auto &c : cases) {
        Settings s = format(c.format);
        s.keepMp3 = c.keepMp3;
        s.keepWav = c.keepWav;
        EXPECT_EQ(encoders::filesToDelete(s, kBlock12), c.deleted)
            << c.format << " keepMp3 " << c.keepMp3 << " keepWav " << c.keepWav;
    }
}

TEST(EncoderSteps, TemporaryNameKeepsFolderAndExtension)
{
    EXPECT_EQ(encoders::temporaryName(at(u"0012_Тихий_Дон.mp3"_s)), at(u"0012_Тихий_Дон.part.mp3"_s));
    EXPECT_EQ(encoders::temporaryName(u"/b/Том.1/0001.wma"_s), u"/b/Том.1/0001.part.wma"_s);
}
