#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The dictionary check tools over the editor's records (entry lines, in list order). Each
// returns the new list and what goes into a file; the editor asks the user, writes the
// file and applies the list.
namespace checktools {

// The characters before the first ":" (the exception and the blank after it); nothing when
// the record has no ":".
std::optional<QString> wordPart(const QString &record);

// Sorting, repeats, blanks and word counts.
struct Sorted
{
    QStringList records;
    int repeats = 0;
    int blanks = 0;
    int invalid = 0;
    QString report() const;
};
// Records in dictionary order: Russian collation, case ignored, equal ones kept in order.
void sortRecords(QStringList &records);
Sorted sortAndClean(QStringList records);

// A record offered to the user: its number as the walk stands (1-based), its index in the
// list the tool was given, and the question.
struct Offer
{
    int number = 0;
    int index = 0;
    QString record;
    QString question;
};
// Answers an offer: true for Yes.
using Ask = std::function<bool(const Offer &)>;
// Called before each record is examined with its number; the long-record walk and the
// overlap search let events through here.
using Progress = std::function<void(int number)>;

bool isLong(const QString &record);
bool isInadequate(const QString &record);
bool isOneSyllable(const QString &record);

// Records holding "##" twice: Yes removes.
QStringList findLong(const QStringList &records, const Ask &ask, const Progress &progress = {});
// Pronunciations whose length does not fit the word: Yes empties the record.
QStringList findInadequate(const QStringList &records, const Ask &ask);
// Word parts with fewer than two vowels: Yes removes.
QStringList findOneSyllable(const QStringList &records, const Ask &ask);
// Records whose word part, after a blank, equals a row of the homograph list (rows are
// words framed by blanks); each equal row asks once; Yes empties the record.
QStringList findHomographs(const QStringList &records, const QStringList &homographs, const Ask &ask);

// Records moved out of the list into a file.
struct Moved
{
    QStringList records;
    QStringList fileLines;
    int moved = 0;
};
// Records holding "ё" in either case, as they are.
Moved moveYo(const QStringList &records);
// Records holding "##", turned into autoreplace lines.
Moved movePhrases(const QStringList &records);
QString autoreplaceLine(const QString &record);
// Neighbours with equal word parts, in pairs, each pair followed by two empty lines.
Moved moveVariants(const QStringList &records);

// The first record from `start` (0-based) whose word part recurs, after a blank, inside
// another record.
struct Overlap
{
    int record = 0; // 0-based
    int other = 0;  // 0-based
    QString word;
    QString otherRecord;
    QString message() const;
    QStringList fileLines() const;
};
std::optional<Overlap> findOverlap(const QStringList &records, int start, const Progress &progress = {});

} // namespace checktools
