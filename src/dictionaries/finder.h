#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The new-word finder: the words of a text that none of the word lists knows yet.
namespace finder {

// The exclusion passes, in the order they run.
enum class Pass
{
    Exceptions, // DIC/exc_rus.txt: the exception before " :", case counts
    Homographs, // DIC/homograph.txt
    Known,      // DIC/70000.txt
    Listened,   // DIC/already_listened .txt
};
inline constexpr Pass kPasses[] = {Pass::Exceptions, Pass::Homographs, Pass::Known, Pass::Listened};

// The list file of a pass, inside the program folder ("DIC/70000.txt").
QString listFile(Pass pass);
// The progress caption while a pass runs.
QString caption(Pass pass);

// The steps that put the word list in order, each shown in the progress panel before it
// works: sorting, and keeping every word once, or only those met twice or three times.
enum class ListStep
{
    Sort,
    Once,
    TwiceOrMore,
    ThriceOrMore,
};
QString caption(ListStep step);

// The text under search: the selection when there is one, else the whole text.
QString searchText(const QString &whole, const QString &selection);

// The words met at least `threshold` times (1 to 3), each once, compared as the lists are
// (letter case, "ё" against "е" and stress accents ignored): of the spellings that differ
// only so the first in the text, without its soft hyphens. Words are cut as the homograph
// tools cut them (words.h), so no quote, bracket, tag or dash sticks to one. Sorted as
// sortsBefore says.
QStringList repeatedWords(const QString &text, int threshold);

// The order of found words: Russian collation whatever the locale ("ё" with "е"), case
// ignored.
bool sortsBefore(const QString &a, const QString &b);

// The exclusion words a pass takes from the fields of its list file.
QStringList exclusionWords(Pass pass, const QStringList &fields);

// `words` without those equal to an exclusion word, alone or before a particle ("замок-то"),
// compared as words.h says (otherwise exact for the exception pass; for the others case
// ignored and "ё" read as "е" on both sides).
QStringList exclude(const QStringList &words, Pass pass, const QStringList &exclusions);

// The whole search. `fields` reads a pass's list file (nothing: the pass is skipped);
// `proceed` is asked before each pass that runs and stops the search when it answers
// false, in which case nothing is returned. `shown` is told the list steps in their order,
// for the progress panel: sorting, the threshold step and keeping every word once before the
// list is counted (one counting does all three), and sorting and keeping every word once
// after each pass that ran (excluding keeps the list sorted and each word once).
std::optional<QStringList> newWords(const QString &text, int threshold,
                                    const std::function<std::optional<QStringList>(Pass)> &fields,
                                    const std::function<bool(Pass, int exclusions)> &proceed = {},
                                    const std::function<void(ListStep)> &shown = {});

// Proper-name candidates: the pieces of `text` of 5 to 20 characters that start at an
// occurrence of `search` (case counts) away from a sentence start and end before the next
// blank.
QStringList FindProperNames(const QString &text, const QString &search);

} // namespace finder
