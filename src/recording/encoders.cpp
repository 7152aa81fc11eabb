#include "recording/encoders.h"

#include <QFileInfo>
#include <QHash>
#include <QProcess>

namespace encoders {

BlockPaths blockPaths(const QString &bookFolder, const QString &blockName, const QString &bookTitle,
                      bool titleInName)
{
    const QString plain = bookFolder + QLatin1Char('/') + blockName;
    const QString compressed = titleInName ? plain + QLatin1Char('_') + bookTitle : plain;
    const QString mp3 = compressed + QStringLiteral(".mp3");
    return {plain + QStringLiteral(".txt"),
            plain + QStringLiteral(".wav"),
            mp3,
            plain + QStringLiteral(".ogg"),
            compressed + QStringLiteral(".amr"),
            compressed + QStringLiteral(".vmo"),
            compressed + QStringLiteral(".wma"),
            temporaryName(mp3)};
}

namespace {

// A step whose last argument is the file it makes.
Step writing(const QString &program, QStringList arguments)
{
    const QString output = arguments.last();
    const int index = int(arguments.size()) - 1;
    return {program, std::move(arguments), output, index};
}

} // namespace

QString debianPackage(const QString &program)
{
    static const QHash<QString, QString> packages = {
        {QStringLiteral("lame"), QStringLiteral("lame")},
        {QStringLiteral("oggenc"), QStringLiteral("vorbis-tools")},
        {QStringLiteral("madplay"), QStringLiteral("madplay")},
        {QStringLiteral("sox"), QStringLiteral("sox")},
        {QStringLiteral("ffmpeg"), QStringLiteral("ffmpeg")}};
    return packages.value(program);
}

QList<Step> steps(const Settings &settings, const BlockPaths &paths)
{
    const QString lame = QStringLiteral("lame");
    switch (settings.format) {
    case Mp3:
        // UTF-16 tags: Latin-1 ones cannot hold a Cyrillic artist or title. Genre 101 is Speech.
        // The version 2 tag alone: a version 1 tag would hold "????" for Cyrillic.
        return {writing(lame, QProcess::splitCommand(settings.mp3Options) +
                                  QStringList{QStringLiteral("--id3v2-only"), QStringLiteral("--id3v2-utf16"),
                                              QStringLiteral("--ta"), settings.artist, QStringLiteral("--tt"),
                                              settings.title, QStringLiteral("--tg"), QStringLiteral("101"),
                                              paths.wav, paths.mp3})};
    case Ogg: {
        QStringList arguments = QProcess::splitCommand(settings.oggOptions);
        arguments << QStringLiteral("-o") << paths.ogg << paths.wav;
        return {{QStringLiteral("oggenc"), arguments, paths.ogg, int(arguments.size()) - 2}};
    }
    case Amr: {
        // The MP3 road first: decoding it again gives the 8 kHz mono WAV the AMR encoder takes.
        const QStringList decode = {QStringLiteral("-m"),
                                    QStringLiteral("-R"),
                                    QStringLiteral("8000"),
                                    QStringLiteral("-b"),
                                    QStringLiteral("16"),
                                    QStringLiteral("-o"),
                                    QStringLiteral("wave:") + paths.wav,
                                    paths.amrMp3};
        return {writing(lame, {QStringLiteral("-h"), paths.wav, paths.amrMp3}),
                {QStringLiteral("madplay"), decode, paths.wav, 6},
                writing(QStringLiteral("sox"),
                        {paths.wav, QStringLiteral("-t"), QStringLiteral("amr-nb"), QStringLiteral("-C"),
                         settings.amrLowRate ? QStringLiteral("0") : QStringLiteral("7"), paths.amr})};
    }
    case Vmo:
        return {{QStringLiteral("wav2vmo"), {paths.wav}, QString(), -1}};
    case Wma:
        return {
            writing(QStringLiteral("ffmpeg"), {QStringLiteral("-y"), QStringLiteral("-i"), paths.wav,
                                               QStringLiteral("-c:a"), QStringLiteral("wmav2"), paths.wma})};
    default:
        return {};
    }
}

QString finalFile(int format, const BlockPaths &paths)
{
    switch (format) {
    case Wav:
        return paths.wav;
    case Mp3:
        return paths.mp3;
    case Ogg:
        return paths.ogg;
    case Amr:
        return paths.amr;
    case Vmo:
        return paths.vmo;
    case Wma:
        return paths.wma;
    default:
        return {};
    }
}

QStringList filesToDelete(const Settings &settings, const BlockPaths &paths)
{
    switch (settings.format) {
    case Mp3:
    case Ogg:
        return {paths.wav};
    case Amr:
        return settings.keepMp3 ? QStringList{paths.wav} : QStringList{paths.amrMp3, paths.wav};
    case Vmo:
    case Wma:
        return settings.keepWav ? QStringList() : QStringList{paths.wav};
    default:
        return {};
    }
}

QList<std::pair<QString, QString>> filesToKeep(const Settings &settings, const BlockPaths &paths)
{
    if (settings.format == Amr && settings.keepMp3)
        return {{paths.amrMp3, paths.mp3}};
    return {};
}

QString temporaryName(const QString &path)
{
    const QFileInfo file(path);
    return file.path() + QLatin1Char('/') + file.completeBaseName() + QStringLiteral(".part.") +
           file.suffix();
}

} // namespace encoders
