#pragma once

#include <QString>
#include <QStringList>

// Dictionaries of other reading programs (autoreplace files and old-version dictionaries:
// "word=pro>nunciation" lines, ">" after the stressed vowel) turned into entry lines.
namespace dicimport {

// The line as an entry: split at the first "=", stress marks as "<"; ignoring case it ends
// in "> /i", respecting case in ">" and a blank.
QString convert(const QString &line, bool respectCase);

struct AutoReplace
{
    QStringList entries; // to append to the list
    int read = 0;
    QString message() const;
};
// The phrases of an autoreplace file's fields.
AutoReplace importAutoReplace(const QStringList &fields);

// One output file of the old-version import.
struct Pass
{
    QString file;
    QStringList lines;
};
struct OldImport
{
    Pass single;
    Pass phrases;
    Pass general1;
    Pass general2;
    int read = 0;
    // The message after each of the three passes.
    QString singleMessage() const;
    QString phrasesMessage() const;
    QString generalMessage() const;
};
// An old-version dictionary's lines split into single words, phrases and generalisations.
OldImport importOld(const QStringList &lines);

} // namespace dicimport
