#include "recording/recordingrun.h"

#include "app/globals.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/text/textfile.h"
#include "recording/blockoutput.h"
#include "recording/encodeblock.h"
#include "recording/encoders.h"
#include "recording/logging.h"
#include "settings/setup.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

#include <filesystem>

namespace recordingrun {
namespace {

// The file a block leaves in the chosen format; an MP3, AMR or VMO file counts too, as the
// skip test takes it for a finished block.
bool blockDone(const encoders::BlockPaths &p, int format)
{
    const QString output[] = {p.wav, p.mp3, p.ogg, p.amr, p.vmo, p.wma};
    const bool chosen = format >= 0 && format < 6 && QFileInfo::exists(output[format]);
    return chosen || blockoutput::alreadyEncoded(p);
}

// Makes the book folder when it is missing; one that cannot be made is named to the user
// with the system's reason, rather than the first block's file that would fail in it.
bool madeBookFolder()
{
    const QString folder = bookFolder();
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(QFile::encodeName(folder).toStdString()),
                                        error);
    if (!error)
        return true;
    services::prompter().critical(textfile::failureMessage(QStringLiteral("Не удалось создать папку книги"),
                                                           folder, QString::fromStdString(error.message())));
    return false;
}

} // namespace

std::optional<Selection> selection()
{
    const auto start = blockoutput::selectionValue(setup().Text24->text());
    const auto step = blockoutput::selectionValue(setup().Text21->text());
    if (!start || !step)
        return std::nullopt;
    return Selection{*start, *step};
}

bool checkSelection()
{
    if (selection())
        return true;
    services::prompter().critical(
        QStringLiteral("Номер копии программы и число копий должны быть целыми числами не меньше 1!"));
    return false;
}

QString bookFolder()
{
    return QDir(setup().Text28->text()).filePath(BookTitle);
}

QString finishedFolder()
{
    return QDir(setup().Text28->text()).filePath(u'!' + BookTitle);
}

bool allBlocksDone(int blocks)
{
    const int format = encoderSettings().format;
    const bool titleInName = setup().Check6->isChecked();
    for (int n = 1; n <= blocks; ++n) {
        if (!blockDone(encoders::blockPaths(bookFolder(), blockoutput::blockName(n), BookTitle, titleInName), format))
            return false;
    }
    return true;
}

Result recordBook()
{
    Result result;
    if (!madeBookFolder()) {
        result.outcome = conversion::Outcome::Failed;
        return result;
    }
    BlockNo = 0;
    result.outcome = MakeAudioBook();
    if (result.outcome != conversion::Outcome::Completed)
        return result;
    if (!allBlocksDone(BlockNo)) {
        qCInfo(lcRecording) << "book" << BookTitle << "not finished: blocks of other copies are missing";
        return result;
    }
    // A folder of that name from an earlier recording stays; this one keeps its plain name.
    result.finished = QDir().rename(bookFolder(), finishedFolder());
    if (!result.finished)
        qCInfo(lcRecording) << "book folder not renamed:" << finishedFolder() << "exists";
    return result;
}

} // namespace recordingrun
