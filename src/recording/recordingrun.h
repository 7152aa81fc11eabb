#pragma once

#include "recording/conversion.h"
#include "recording/cutrecord.h"

#include <QString>

#include <optional>

// One book's recording from its folder to the "!" of a finished book, shared by the
// single-book and the batch command.
namespace recordingrun {

// The blocks this program copy records: start, start + step, ... (Text24, Text21).
struct Selection
{
    int start = 1;
    int step = 1;
};
// The selection as the settings window holds it now; nothing unless both values are whole
// numbers of at least 1.
std::optional<Selection> selection();
// Checks the selection when a recording starts; a bad one is told to the user (false).
bool checkSelection();

// <working folder>/<BookTitle>, and the name it gets when the book is finished.
QString bookFolder();
QString finishedFolder();

// Whether blocks 1..blocks of the book folder all have their output file, by whichever copy
// of the program or run made them.
bool allBlocksDone(int blocks);

// This run's cut: the book at CurTextPath cut at BlockLimit. Nothing when the book cannot be
// read or does not read right (`error` gets why): nothing is recorded from it. Made once per
// book: it reads the whole book.
std::optional<cutrecord::Record> currentCut(QString *error = nullptr);

// How `folder` remembers its blocks were cut, against this run's `current` cut. Nothing is
// remembered when there is no current cut.
cutrecord::Comparison checkCut(const QString &folder, const std::optional<cutrecord::Record> &current);

// A folder beside the book folder, in the working folder, that nothing has taken yet, for the
// blocks of an earlier cut: "<title> (прежние блоки)", then "<title> (прежние блоки 2)", ...
// Neither a batch nor the finished-book check takes it for a book.
QString asideFolder();
// Moves what the recording made in the book folder (block files of any format, their text
// copies and temporary files, the cut's record) into `aside`, so the book starts anew and
// nothing is lost; the user's other files and folders stay, drafts of the record left by ended
// copies go, and `aside` is made only when something moves. Refused while another copy
// records the folder. A failure or refusal is told to the user (false).
bool moveBlocksAside(const QString &aside);

// Whether a running program copy records the blocks of `folder`: it holds the folder's cut
// record from the start of its book to the end, and the system lets the hold go when the copy
// ends, however it ends.
bool heldByRunningCopy(const QString &folder);
// The refusal to start the book anew while another copy records it.
QString heldRefusal();

// Why this copy must stop writing into the book folder: the cut record it took at the start
// of the book is no longer the folder's (another copy started the book anew, or with another
// cut). Nothing while it is.
std::optional<QString> cutLost();

struct Result
{
    conversion::Outcome outcome = conversion::Outcome::Completed;
    bool finished = false; // every block produced and the folder renamed with its "!"
    // Not empty when the folder's blocks were cut otherwise or from another book: what
    // differs. Nothing was recorded then and the user has not been told yet.
    QString otherCut;
    // Why the book failed, for the user, who has not been told yet; empty with otherCut.
    QString failure;
};

// Records the book at CurTextPath, cut as `current` (see currentCut), into the book folder
// (created if missing), block numbering from 1, and renames the folder when every block was
// produced. A folder that remembers another cut or another book is left as it is (otherCut);
// one that remembers nothing takes this run's cut. The folder's record is held until the
// book ends; a record changed meanwhile fails the book. A stop in its last block still finishes
// a book whose blocks are all made; the outcome is Stopped either way.
class BookRecording : public JobStep
{
    Q_OBJECT
public:
    BookRecording(const std::optional<cutrecord::Record> &current, QObject *parent);

    // Once ended.
    const Result &result() const { return m_result; }

private:
    void converted(AudioBook *book);
    void fail();
    void done(bool ok, const QString &failure = {});

    Result m_result;
};

// Starts recording the book; `parent` owns the recording.
BookRecording *recordBook(const std::optional<cutrecord::Record> &current, QObject *parent);

// The user's stop: the block's encoder gets a short grace to finish, then is ended as at the
// exit. The recording ends as stopped.
void stopRunning();

// Ends the block being spoken or encoded at once and removes what it had made: the program
// is exiting. The recording then ends as stopped, without a message.
void abortRunning();

} // namespace recordingrun
