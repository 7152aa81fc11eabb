#include "recording/recordingrun.h"

#include "app/globals.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/text/textfile.h"
#include "recording/blockoutput.h"
#include "recording/encodeblock.h"
#include "recording/encoderprocess.h"
#include "recording/encoders.h"
#include "recording/logging.h"
#include "recording/monitor.h"
#include "recording/speakblock.h"
#include "settings/setup.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryFile>

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
    if (draft.open() && draft.write(text) == text.size() && draft.flush()) {
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
    // A record gone since it was found (another copy moved the old blocks aside) leaves a
    // folder that remembers nothing: it takes this run's cut after all. One that keeps coming
    // and going is not waited for: it counts as a record that cannot be read.
    for (int tries = 0; tries < 3; ++tries) {
        switch (createRecord(bookFolder(), *current, result.failure)) {
        case Creation::Created:
            return true;
        case Creation::Failed:
            return false;
        case Creation::Taken:
            break;
        }
        const cutrecord::Comparison cut = cutrecord::compare(storedCut(bookFolder()), *current);
        if (cut.verdict == cutrecord::Verdict::NothingRemembered)
            continue;
        if (cut.verdict == cutrecord::Verdict::Same)
            return true;
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

bool moveBlocksAside(const QString &aside)
{
    const QDir book(bookFolder());
    if (!madeFolder(aside, QStringLiteral("Не удалось создать папку для прежних блоков")))
        return false;
    QStringList names = book.entryList(QDir::Files | QDir::Hidden | QDir::System);
    // The user's own files (a cover, notes) stay with the book.
    names.removeIf([](const QString &name) {
        return !blockoutput::isBlockFile(name, BookTitle) && name != cutrecord::fileName();
    });
    // The record goes last: blocks left behind by a failed move must stay described by it, or
    // the next run would take them for its own.
    if (names.removeAll(cutrecord::fileName()) > 0)
        names << cutrecord::fileName();
    for (const QString &name : std::as_const(names)) {
        QFile file(book.filePath(name));
        if (!file.rename(QDir(aside).filePath(name))) {
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
    end(false, m_result.failure);
}

void BookRecording::converted(AudioBook *book)
{
    book->deleteLater();
    m_result.outcome = book->outcome();
    m_result.failure = book->failure();
    if (m_result.outcome != conversion::Outcome::Completed) {
        end(m_result.outcome != conversion::Outcome::Failed, m_result.failure);
        return;
    }
    CompleteProgressBar();
    if (!allBlocksDone(BlockNo)) {
        qCInfo(lcRecording) << "book" << BookTitle << "not finished: blocks of other copies are missing";
        end(true);
        return;
    }
    // A folder of that name from an earlier recording stays; this one keeps its plain name.
    m_result.finished = QDir().rename(bookFolder(), finishedFolder());
    if (!m_result.finished)
        qCInfo(lcRecording) << "book folder not renamed:" << finishedFolder() << "exists";
    end(true);
}

BookRecording *recordBook(const std::optional<cutrecord::Record> &current, QObject *parent)
{
    return new BookRecording(current, parent);
}

void abortRunning()
{
    abortSpeaking();
    encoderprocess::abortRunning();
}

} // namespace recordingrun
