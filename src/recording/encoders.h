#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The encoder command lines of a block and the files each output format leaves behind.
// Pure: they take the block's paths and the format page's choices and touch nothing.
namespace encoders {

// Output formats, numbered as the format page's tabs.
enum Format
{
    Wav = 0,
    Mp3 = 1,
    Ogg = 2,
    Amr = 3,
    Vmo = 4,
    Wma = 5
};

// The files of one block inside its book folder.
struct BlockPaths
{
    QString txt;
    QString wav;
    QString mp3;
    QString ogg;
    QString amr;
    QString vmo;
    QString wma;
    // The AMR road's MP3 until the AMR file is made: never under a name a resumed recording
    // or the finished-book check takes for a block's output.
    QString amrMp3;
};

// The paths of block `blockName` ("0012") in `bookFolder`. With `titleInName` the
// compressed files carry "_" and the book title after the number; the text and WAV
// files never do, nor the OGG file, which is named after the WAV file as its encoder
// would name it.
BlockPaths blockPaths(const QString &bookFolder, const QString &blockName, const QString &bookTitle,
                      bool titleInName);

// What the format page says about encoding.
struct Settings
{
    int format = Mp3;
    QString mp3Options; // the MP3 encoder's option text, split into arguments
    QString artist;
    QString title;
    QString oggOptions;
    bool amrLowRate = false; // 4.75 kbit/s instead of 12.2
    bool keepMp3 = false;    // AMR: keep the intermediate MP3
    bool keepWav = false;    // VMO and WMA: keep the source WAV
};

// One encoder run.
struct Step
{
    QString program; // looked up in the program folder, then on PATH
    QStringList arguments;
    // The file the step makes, and which argument names it (the runner writes to a
    // temporary name there and renames on success); -1 when the encoder names it itself.
    QString output;
    int outputArgument = -1;
};

// The Debian package that installs `program`, the encoder of a step; empty for one Debian lacks.
QString debianPackage(const QString &program);

// The encoder runs of a block, in order; none for WAV output.
QList<Step> steps(const Settings &settings, const BlockPaths &paths);

// The file a finished block leaves in `format`: an earlier run's block is done when it exists.
QString finalFile(int format, const BlockPaths &paths);

// The files deleted once every step has succeeded.
QStringList filesToDelete(const Settings &settings, const BlockPaths &paths);
// The intermediate files kept once every step has succeeded: {from, to} to be renamed.
QList<std::pair<QString, QString>> filesToKeep(const Settings &settings, const BlockPaths &paths);

// The temporary name an encoder writes instead of `path`: same folder and extension, so
// encoders that choose their format by the extension still do, and never a name that a
// resumed recording takes for a finished block.
QString temporaryName(const QString &path);

} // namespace encoders
