#pragma once

#include <QString>

#include <functional>
#include <initializer_list>
#include <optional>

class QObject;
class RichTextBox;
class QWidget;

// The long jobs run while window events go on (a recording, a batch and a reading from signals,
// the shorter tools letting events through), so every other command can still be chosen
// meanwhile. A job owns its book, its voice and its settings: every command that would change
// one of them asks here first, and a job refuses what would disturb it with a message that
// says why.
namespace busy {

enum class Job
{
    Recording,      // a book or a batch being recorded
    Reading,        // reading aloud
    Preformatting,  // the pre-formatting of an opened text
    BookReading,    // an e-book being read into the editor
    ListRun,        // replacements over the whole text, from a list or the find window
    MarkupCleaning, // the text doctor's markup cleaning
    Search,         // the new-word and homograph searches
    Comparison,     // comparing two dictionaries
    ChapterSearch,  // the chapter window's search, whose hits point into the text
};

// What a command changes.
enum class Change
{
    Book,       // which book is current: the editor's whole text, CurTextPath, BookTitle
    Text,       // the book's text in place
    Save,       // the book's file on disk
    Speech,     // speaks with the engine (and so silences whatever it was saying)
    StopSpeech, // silences the engine
    Settings,   // the voice or the settings the speech is made with
    Output,     // how a recording cuts, names, frames and encodes its blocks, and where
    Dictionary, // the exception dictionary or the engine version
    StartJob,   // starts a long job of its own: no job runs inside another
    Typing,     // the user's own edits in the main editor, which is locked meanwhile
};

// Marks a job for as long as it lives.
class JobScope
{
public:
    explicit JobScope(Job job);
    ~JobScope();
    JobScope(const JobScope &) = delete;
    JobScope &operator=(const JobScope &) = delete;

    // The files the job still needs (the book being recorded, the books a batch has still to
    // record): `holds` answers for a file's canonical path, for as long as the job runs.
    void holdFiles(std::function<bool(const QString &canonicalPath)> holds);
};

// Whether a job of this kind runs.
bool runs(Job job);

// Why a running job refuses `change`; nothing when none does.
std::optional<QString> refusal(Change change);

// When a running job refuses `change`, tells the user why and returns true: the command
// must not go on. The message does not wait for an answer, so the job goes on meanwhile.
bool refuse(Change change);

// When a running job holds the file at `path`, tells the user that it may not be deleted
// and returns true; the message does not wait for an answer.
bool refuseFile(const QString &path);

// Holds `controls` still while a running job refuses `change`: the user's attempt to change
// one of them (a click, a key other than moving the focus, the wheel, a drop, a context
// menu; in a text box typing, deleting, pasting, cutting, undoing and drops) is refused
// with the job's message, so the control keeps the value the job reads and no change
// handler runs. A text box can still be focused, scrolled, selected and copied from: it is
// read-only meanwhile. `owner` keeps the watch alive.
void guard(QObject *owner, std::initializer_list<QWidget *> controls, Change change);

// Keeps `editor` locked while a running job refuses Typing, and only then: the jobs are the
// one owner of its lock, so however they nest and end, the last one to end unlocks it.
void holdEditor(RichTextBox *editor);

// Calls `changed` each time a job starts or ends, for as long as `receiver` lives.
void onJobsChanged(QObject *receiver, std::function<void()> changed);

} // namespace busy
