#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <functional>

// The normalisation a text gets when it is opened into the main editor: line breaks
// unified, empty lines turned into the paragraph mark (a line break followed by a line
// that begins with a blank), brackets spaced out, odd blanks and the em dash made plain,
// runs of blanks halved and a blank put after every dash that follows a blank.
// Reading aloud and the dialogue tagging find paragraphs by that mark.
//
// The steps alone would change their own result again (blanks halved twice, dashes widened
// again), so a whole run leaves a text alone that they could have made: opening a saved,
// pre-formatted book keeps its bytes and its bookmarks' offsets.
namespace preformat {

inline constexpr int kStepCount = 12;
// ProgressBar1 counts the twelve steps and one final tick.
inline constexpr int kProgressMaximum = 13;

// The caption of Label1 for the whole run.
QString caption();

// Replaces every occurrence of `from`, scanning left to right without overlap and without
// searching again in what was inserted. Linear in the size of `text`; an empty `from`
// changes nothing.
QString replaceAll(QStringView text, QStringView from, QStringView to,
                   Qt::CaseSensitivity cs = Qt::CaseInsensitive);
// The same from offset `start` on (the text before it is kept as it is), telling in `hits`
// where each replacement went. The positions count in the text as it stood at that
// replacement, which, the hits running left to right, is also the result. This is what
// replacing hit by hit does when each search begins after the text the previous one put in.
QString replaceAll(QStringView text, QStringView from, QStringView to, Qt::CaseSensitivity cs,
                   qsizetype start, QList<qsizetype> *hits);

// Step `step` (1..12) alone; any other number returns the text unchanged.
QString applyStep(int step, QStringView text);

// True when the twelve steps could have made `text` from a text with CR LF line breaks: no
// empty line, no TAB, no no-break space and no em dash; a blank after every " -" (the one
// step 12 puts there), and, that blank left out, blanks on both sides of every bracket. Such
// a text has nothing left for pre-formatting to mend; it may as well be a raw text that
// needs none (its runs of blanks then stay as they are).
bool isPreformatted(QStringView text);

struct Hooks
{
    // Asked before each step and once after the last; true ends the run there.
    std::function<bool()> cancelRequested;
    // Told k after step k and kProgressMaximum after the final check.
    std::function<void(int value)> progressed;
};

struct Outcome
{
    QString text;      // the text with the steps done
    int stepsDone = 0; // 0..12
    bool cancelled = false;
};

enum class Mode
{
    AsNeeded,  // a text that isPreformatted is left as it is
    EveryStep, // every step whatever the text, as the program did before it recognised one
};

// Runs the twelve steps in order over `text`; over a text that isPreformatted they change
// nothing (unless `mode` asks for every step), with the same progress and cancel checks. A
// cancel keeps the steps done so far.
Outcome run(QString text, const Hooks &hooks = {}, Mode mode = Mode::AsNeeded);

} // namespace preformat
