#include "recording/recordingrun.h"

#include "app/globals.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/text/textfile.h"
#include "recording/blockoutput.h"
#include "recording/encodeblock.h"
#include "recording/encoders.h"
#include "recording/logging.h"
#include "recording/monitor.h"
#include "settings/setup.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

#include <filesystem>

namespace recordingrun {
namespace {

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
        if (!blockoutput::alreadyEncoded(
                encoders::blockPaths(bookFolder(), blockoutput::blockName(n), BookTitle, titleInName),
                format))
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
    CompleteProgressBar();
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
