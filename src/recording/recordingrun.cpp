#include "recording/recordingrun.h"

#include "app/globals.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/text/textfile.h"
#include "recording/blockoutput.h"
#include "recording/encodeblock.h"
#include "recording/encoderprocess.h"
#include "recording/encoders.h"
#include "recording/filehold.h"
#include "recording/logging.h"
#include "recording/monitor.h"
#include "recording/speakblock.h"
#include "settings/setup.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryFile>
#include <QThread>

#include <cerrno>
#include <filesystem>

#include <unistd.h>

namespace recordingrun {
namespace {

// Makes a folder when it is missing; one that cannot be made is named with the system's
// reason, rather than the first file that would fail in it: the message, or nothing when made.
std::optional<QString> folderFailure(const QString &folder, const QString &message)
{
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(QFile::encodeName(folder).toStdString()),
                                        error);
    if (!error)
        return std::nullopt;
    return textfile::failureMessage(message, folder, QString::fromStdString(error.message()));
}

// As folderFailure, the failure told to the user.
bool madeFolder(const QString &folder, const QString &message)
{
    const auto failure = folderFailure(folder, message);
    if (failure)
        services::prompter().critical(*failure);
    return !failure;
}

QString recordFile(const QString &folder)
{
    return QDir(folder).filePath(cutrecord::fileName());
}

// The record of the cut this copy records now, held while its book is recorded.
std::optional<FileHold> &heldRecord()
{
    static std::optional<FileHold> hold;
    return hold;
}

// Removes the drafts of the folder's record whose copy has ended: each copy holds its draft
// alone while it exists, and a killed copy's would stay for ever, to end in the finished folder.
void removeDeadDrafts(const QString &folder)
{
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!cutrecord::isDraftName(name))
            continue;
        if (const auto hold = FileHold::take(dir.filePath(name), FileHold::Kind::Alone))
            QFile::remove(dir.filePath(name));
    }
}

// A link to nowhere takes the record's name all the same: it is a record that cannot be read.
bool recordPresent(const QString &file)
{
    const QFileInfo info(file);
    return info.exists() || info.isSymLink();
}

// A record is written in the call that creates it, before any block is made: an empty one was
// created by a run that died before writing it, and remembers nothing.
bool emptyRecord(const QString &file)
{
    const QFileInfo info(file);
    return info.isFile() && !info.isSymLink() && info.size() == 0;
}

// The record's text; nothing when there is none or it is empty, an empty text when the file is
// there but cannot be read.
std::optional<QString> storedCut(const QString &folder)
{
    const QString file = recordFile(folder);
    if (!recordPresent(file) || emptyRecord(file))
        return std::nullopt;
    return textfile::readText(file).value_or(QString());
}

enum class Creation
{
    Created,
    Taken,  // the folder has a record already
    Failed, // `failure` says why
};

// Creates the folder's record of this run's cut unless one is there already: two copies of the
// program starting on one folder together must not both take it for remembering nothing.
Creation createRecord(const QString &folder, const cutrecord::Record &current, QString &failure)
{
    const QString name = recordFile(folder);
    if (emptyRecord(name))
        QFile::remove(name); // this run's record takes its place
    const QByteArray text = cutrecord::toText(current).toLatin1();
    QString reason;
    // The record comes into being with its text, so that another copy never finds it empty:
    // written under a name of this run's own, then linked to the record's name, which fails
    // when a record is there. A file system without links gets it created and written in place.
    QTemporaryFile draft(name + QStringLiteral(".XXXXXX"));
    std::optional<FileHold> draftHold; // tells other copies the draft is no dead copy's
    if (draft.open() && (draftHold = FileHold::take(draft.fileName(), FileHold::Kind::Alone)) &&
        draft.write(text) == text.size() && draft.flush()) {
        draft.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        if (::link(QFile::encodeName(draft.fileName()).constData(), QFile::encodeName(name).constData()) == 0)
            return Creation::Created;
        if (errno == EEXIST)
            return Creation::Taken;
    }
    QFile record(name);
    if (!record.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (recordPresent(record.fileName()))
            return Creation::Taken;
        reason = record.errorString();
    } else {
        if (record.write(text) == text.size() && record.flush())
            return Creation::Created;
        reason = record.errorString();
        // A record cut short could never be read, and the folder would refuse every later run.
        record.remove();
    }
    // Blocks made without their record would be taken as their own by any later cut.
    failure = textfile::writeFailure(record.fileName(), reason);
    return Creation::Failed;
}

// The blocks of the book folder are this run's, or the folder takes this run's cut when it
// remembers none.
bool ownCut(const std::optional<cutrecord::Record> &current, Result &result)
{
    if (!current)
        return true; // the driver names the book that cannot be read
    removeDeadDrafts(bookFolder());
    const QString record = recordFile(bookFolder());
    // A record gone since it was found (another copy moved the old blocks aside) leaves a
    // folder that remembers nothing: it takes this run's cut after all. One that keeps coming
    // and going is not waited for: it counts as a record that cannot be read.
    for (int tries = 0; tries < 3; ++tries) {
        if (createRecord(bookFolder(), *current, result.failure) == Creation::Failed)
            return false;
        // Held before it is compared: a copy starting the book anew holds it alone while it
        // moves the blocks, and never moves them while this copy records.
        std::optional<FileHold> hold = FileHold::take(record, FileHold::Kind::Shared);
        for (int wait = 0; !hold && wait < 50 && recordPresent(record); ++wait) {
            QThread::msleep(20);
            hold = FileHold::take(record, FileHold::Kind::Shared);
        }
        const cutrecord::Comparison cut = cutrecord::compare(storedCut(bookFolder()), *current);
        if (cut.verdict == cutrecord::Verdict::NothingRemembered)
            continue;
        if (cut.verdict == cutrecord::Verdict::Same) {
            if (!hold || !hold->isAt(record))
                continue; // moved aside or replaced meanwhile
            heldRecord() = std::move(hold);
            return true;
        }
        result.otherCut = cut.difference;
        return false;
    }
    result.otherCut = cutrecord::compare(QString(), *current).difference;
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

std::optional<cutrecord::Record> currentCut(QString *error)
{
    return cutrecord::ofBook(CurTextPath, BlockLimit, error);
}

cutrecord::Comparison checkCut(const QString &folder, const std::optional<cutrecord::Record> &current)
{
    return current ? cutrecord::compare(storedCut(folder), *current) : cutrecord::Comparison{};
}

QString asideFolder()
{
    // A recording's title has no blanks: no book folder, finished or not, takes this name.
    const QString name = bookFolder() + QStringLiteral(" (прежние блоки");
    QString aside = name + u')';
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = name + u' ' + QString::number(n) + u')';
    return aside;
}

bool heldByRunningCopy(const QString &folder)
{
    const QString record = recordFile(folder);
    const QFileInfo info(record);
    return info.isFile() && !info.isSymLink() && info.isReadable() &&
           !FileHold::take(record, FileHold::Kind::Alone);
}

QString heldRefusal()
{
    return QStringLiteral("Блоки в папке %1 сейчас записывает другая копия программы. Остановите её и "
                          "начните книгу заново.")
        .arg(QDir::toNativeSeparators(bookFolder()));
}

std::optional<QString> cutLost()
{
    if (!heldRecord() || heldRecord()->isAt(recordFile(bookFolder())))
        return std::nullopt;
    return QStringLiteral(
               "Запись книги остановлена: в папке %1 другая нарезка книги — другая копия программы "
               "начала книгу заново или с другой длиной блока. В эту папку больше ничего не "
               "записано; готовые блоки этой копии остались с прежней нарезкой.")
        .arg(QDir::toNativeSeparators(bookFolder()));
}

bool moveBlocksAside(const QString &aside)
{
    const QDir book(bookFolder());
    const QString record = recordFile(bookFolder());
    // Held alone while the blocks move: no copy records them meanwhile, none starts on them.
    std::optional<FileHold> hold = FileHold::take(record, FileHold::Kind::Alone);
    if (!hold && heldByRunningCopy(bookFolder())) {
        services::prompter().critical(heldRefusal());
        return false;
    }
    removeDeadDrafts(bookFolder());
    QStringList names = book.entryList(QDir::Files | QDir::Hidden | QDir::System);
    // The user's own files (a cover, notes) stay with the book.
    names.removeIf([](const QString &name) {
        return !blockoutput::isBlockFile(name, BookTitle) && name != cutrecord::fileName();
    });
    // The record goes last: blocks left behind by a failed move must stay described by it, or
    // the next run would take them for its own.
    if (names.removeAll(cutrecord::fileName()) > 0)
        names << cutrecord::fileName();
    if (names.isEmpty())
        return true; // nothing to keep: no empty folder beside the book
    if (!madeFolder(aside, QStringLiteral("Не удалось создать папку для прежних блоков")))
        return false;
    for (const QString &name : std::as_const(names)) {
        QFile file(book.filePath(name));
        if (!file.rename(QDir(aside).filePath(name))) {
            hold.reset(); // other copies need not wait for the message
            services::prompter().critical(textfile::failureMessage(
                QStringLiteral("Не удалось перенести прежний блок"), file.fileName(), file.errorString()));
            return false;
        }
    }
    return true;
}

BookRecording::BookRecording(const std::optional<cutrecord::Record> &current, QObject *parent)
    : JobStep(parent)
{
    if (const auto failure = folderFailure(bookFolder(), QStringLiteral("Не удалось создать папку книги"))) {
        m_result.failure = *failure;
        fail();
        return;
    }
    if (!ownCut(current, m_result)) {
        fail();
        return;
    }
    BlockNo = 0;
    AudioBook *book = MakeAudioBook(this);
    connect(book, &JobStep::finished, this, [this, book] { converted(book); });
}

void BookRecording::fail()
{
    m_result.outcome = conversion::Outcome::Failed;
    done(false, m_result.failure);
}

void BookRecording::done(bool ok, const QString &failure)
{
    heldRecord().reset();
    end(ok, failure);
}

void BookRecording::converted(AudioBook *book)
{
    book->deleteLater();
    m_result.outcome = book->outcome();
    m_result.failure = book->failure();
    if (m_result.outcome != conversion::Outcome::Completed) {
        done(m_result.outcome != conversion::Outcome::Failed, m_result.failure);
        return;
    }
    if (const auto lost = cutLost()) {
        m_result.failure = *lost;
        fail();
        return;
    }
    // A stop in the last block: the book is finished when that block was made all the same.
    const bool stopped = StopFlag;
    if (!stopped)
        CompleteProgressBar();
    if (!allBlocksDone(BlockNo)) {
        if (stopped)
            m_result.outcome = conversion::Outcome::Stopped;
        else
            qCInfo(lcRecording) << "book" << BookTitle << "not finished: blocks of other copies are missing";
        done(true);
        return;
    }
    // A folder of that name from an earlier recording stays; this one keeps its plain name.
    m_result.finished = QDir().rename(bookFolder(), finishedFolder());
    if (!m_result.finished)
        qCInfo(lcRecording) << "book folder not renamed:" << finishedFolder() << "exists";
    if (stopped)
        m_result.outcome = conversion::Outcome::Stopped; // no shutdown, no end sound after a stop
    done(true);
}

BookRecording *recordBook(const std::optional<cutrecord::Record> &current, QObject *parent)
{
    return new BookRecording(current, parent);
}

void stopRunning()
{
    encoderprocess::stopRunning();
}

void abortRunning()
{
    abortSpeaking();
    encoderprocess::abortRunning();
}

} // namespace recordingrun
