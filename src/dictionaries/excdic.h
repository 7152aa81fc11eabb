#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace speech {
class Voice;
}

// The exception dictionary file: its entry check, its fixed header and the writing of
// its copies. The dictionary itself lives in the editor's list.
namespace excdic {

// Where entries are read from: the program's own copy is trusted with stresses on "ё"
// and "ъ", which other files may not carry.
enum class Source
{
    ProgramCopy,
    OtherFile
};

// Whether a line or field (as read, before trimming) is an entry to keep: trimmed it still
// holds " :" and a TAB, it holds a ">", none of ",", ".", "`", "<<", """, is shorter than
// 100 characters, and from other files has no stress after "ё" or "ъ". What passes reads
// back unchanged after it is written.
bool isEntry(const QString &line, Source source);
// The kept items, trimmed, in order.
QStringList entries(const QStringList &items, Source source);

// An entry as the editor composes it; with ignoreCase the whole line in lower case
// ending in " /i".
QString compose(const QString &word, const QString &pronunciation, bool ignoreCase);

// The 36 comment lines every copy starts with.
const QStringList &header();
// The whole file: header, entries, "// End of file".
QStringList fileLines(const QStringList &entries);

// The program copy and its single backup in the program folder.
QString programCopy();
QString backupCopy();
QString baseDictionary();

// Reads the entries of a file of comma-separated fields (the program copy, the base
// dictionary); nothing when it cannot be read.
std::optional<QStringList> readFieldFile(const QString &path, Source source, QString *error = nullptr);
// Reads the entries of a file line by line (a file the user picked).
std::optional<QStringList> readLineFile(const QString &path, Source source, QString *error = nullptr);

// Replaces the file with the dictionary in one step: a failed write leaves the old file
// whole. A file marked read-only is not replaced. `error` gets the reason.
bool write(const QString &path, const QStringList &entries, QString *error = nullptr);
// Keeps the current program copy as the one backup, then writes the new copy.
bool writeProgramCopy(const QStringList &entries, QString *error = nullptr);

// The description of the voice that reads the exception dictionary, for engine version
// 1 to 3; empty for none.
QString dictionaryVoice(int version);
// Walks away from the dictionary voice: every other installed voice is selected in turn
// and silenced, so the voice ends on the last of them. False when a selection failed.
bool reloadVoice(speech::Voice &voice, const QString &dictionaryVoice);
// Selects the dictionary voice; nothing changes when it is not installed. False when the
// selection failed.
bool selectDictionaryVoice(speech::Voice &voice, const QString &dictionaryVoice);

} // namespace excdic
