#include "recording/blockoutput.h"

#include "app/globals.h"
#include "platform/text/textfile.h"
#include "recording/encodeblock.h"
#include "recording/encoders.h"
#include "recording/logging.h"
#include "recording/monitor.h"
#include "recording/recordingrun.h"
#include "recording/speakblock.h"
#include "recording/textprep.h"
#include "settings/setup.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QScrollBar>

namespace blockoutput {

QString blockName(int number)
{
    return QStringLiteral("%1").arg(number % 10000, 4, 10, QLatin1Char('0'));
}

bool isBlockFile(const QString &fileName, const QString &bookTitle)
{
    // Every block's file name starts with its block name.
    const QString name = fileName.left(4);
    const int number = name.toInt();
    if (number < 1 || number >= kMaxBlocks || blockName(number) != name)
        return false;
    for (const bool titleInName : {false, true}) {
        const encoders::BlockPaths p = encoders::blockPaths(QString(), name, bookTitle, titleInName);
        // The AMR road's MP3 is a temporary name already; its encoder makes it temporary again.
        for (const QString &path : {p.txt, p.wav, p.mp3, p.ogg, p.amr, p.vmo, p.wma, p.amrMp3}) {
            if (fileName == QFileInfo(path).fileName() ||
                fileName == QFileInfo(encoders::temporaryName(path)).fileName())
                return true;
        }
    }
    return false;
}

QString frame(const QString &text, int number, const Framing &framing)
{
    QString framed = framing.tembrStart + text;
    if (framing.spokenNumbers) {
        // The number is written with a blank where a sign would stand: "Блок  12".
        const QString n = u' ' + QString::number(number);
        framed =
            framing.tembrStart + QStringLiteral("Блок ") + n + framed + QStringLiteral(" Конец блока ") + n;
    }
    return pauseElement(std::int16_t(framing.startPauseSeconds * 1000)) + framed +
           pauseElement(std::int16_t(framing.endPauseSeconds * 1000));
}

bool isSelected(int number, int start, int step)
{
    return step >= 1 && number >= start && number <= kMaxBlocks && (number - start) % step == 0;
}

bool alreadyEncoded(const encoders::BlockPaths &paths, int format)
{
    const QString file = encoders::finalFile(format, paths);
    return !file.isEmpty() && QFileInfo::exists(file);
}

std::optional<int> selectionValue(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < 1)
        return std::nullopt;
    return value;
}

} // namespace blockoutput

using namespace blockoutput;

namespace {

encoders::BlockPaths &paths()
{
    static encoders::BlockPaths current;
    return current;
}

} // namespace

void MakeFileNames()
{
    ++BlockNo;
    BlockName = blockName(BlockNo);
    paths() =
        encoders::blockPaths(recordingrun::bookFolder(), BlockName, BookTitle, setup().Check6->isChecked());
}

BlockWriting::BlockWriting(textcodec::Encoding bookEncoding, QObject *parent) : JobStep(parent)
{
    if (StopFlag) {
        end(true);
        return;
    }
    // Past the last four-digit name a block would take an earlier block's files.
    if (BlockNo >= kMaxBlocks) {
        end(false,
            QStringLiteral("Книга слишком велика: больше %1 блоков. Увеличьте длину блока.").arg(kMaxBlocks));
        return;
    }
    if (const auto lost = recordingrun::cutLost()) {
        end(false, *lost);
        return;
    }
    MakeFileNames();
    monitor().setStatusPanel(1, BlockName);

    Setup &settings = setup();
    const Framing framing{TembrStart, settings.Check2->isChecked(), settings.FlatScrollBar9->value(),
                          settings.FlatScrollBar10->value()};
    BlockText = frame(BlockText, BlockNo, framing);

    const encoders::BlockPaths &p = paths();
    if (settings.Check4->isChecked()) {
        QString reason;
        if (!textfile::writeText(p.txt, BlockText, bookEncoding, &reason)) {
            end(false, textfile::writeFailure(p.txt, reason));
            return;
        }
    }
    if (alreadyEncoded(p, encoderSettings().format)) {
        qCInfo(lcRecording) << "block" << BlockName << "skipped: encoded by an earlier run";
        // As after a block made now: the next block must be cut the same in every run and copy.
        written();
        return;
    }
    const auto selection = recordingrun::selection();
    if (!selection || !isSelected(BlockNo, selection->start, selection->step)) {
        written();
        return;
    }
    JobStep *speech = SpeakBlockToWav(p.wav, this);
    connect(speech, &JobStep::finished, this, [this, speech] { spoken(speech); });
}

void BlockWriting::spoken(JobStep *speech)
{
    speech->deleteLater();
    if (!speech->ok()) {
        end(false, speech->failure());
        return;
    }
    if (StopFlag) {
        written();
        return;
    }
    // The folder took another cut while the block was spoken: its speech is no block there.
    if (const auto lost = recordingrun::cutLost()) {
        QFile::remove(paths().wav);
        end(false, *lost);
        return;
    }
    monitor().setStage(QStringLiteral("Преобразование аудиофайла..."));
    JobStep *encoding = EncodeBlock(paths(), BlockName, this);
    connect(encoding, &JobStep::finished, this, [this, encoding] { encoded(encoding); });
}

void BlockWriting::encoded(JobStep *encoding)
{
    encoding->deleteLater();
    if (encoding->ok())
        written();
    else
        end(false, encoding->failure());
}

void BlockWriting::written()
{
    BlockText = QStringLiteral("\r\n");
    end(true);
}

BlockWriting *WriteBlock(textcodec::Encoding bookEncoding, QObject *parent)
{
    return new BlockWriting(bookEncoding, parent);
}
