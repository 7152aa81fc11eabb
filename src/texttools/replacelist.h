#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <optional>

// The voice replacement list: a file of "key=replacement" lines that rewrite a text before
// it is spoken. The find window edits and runs it over the main text; the recording loads
// it for a voice and applies it to every block. Both use these functions.
namespace replacelist {

// One entry ready to run. A side of the key without "*" is bound to a blank, so both texts
// carry that blank.
struct Entry
{
    QString search;
    QString replacement;
    Qt::CaseSensitivity cs = Qt::CaseInsensitive;

    bool operator==(const Entry &) const = default;
};

// Reads an entry line. The line splits at its first "="; a leading "$" makes the key
// case-sensitive; a "*" starting the key opens its start, and the first "*" after that and
// before the "=" ends the key and opens its end (a "*" in the replacement is text).
// Nothing when the line has no "=" or the key is empty once its markers are gone.
std::optional<Entry> parseEntry(QStringView line);

// The lines of a list file that are entries: those holding "=", in file order, untrimmed.
QStringList entryLines(const QStringList &lines);

// Reads a list file (Windows-1251). Nothing when it cannot be read; `error` then says why.
std::optional<QStringList> read(const QString &path, QString *error = nullptr);
// Writes the lines, each ended by CR LF, replacing the file at once.
bool write(const QString &path, const QStringList &lines, QString *error = nullptr);

// Replaces every occurrence of the entry's search text in `text`, from `from` on, left to
// right. The search goes on after the inserted text, except that when the search text
// ends with a blank that blank is shared: it may also begin the next hit (" да " finds all
// of " да да "). Text inserted before that blank is never searched again, so a replacement
// that holds its own key ends. Returns where each replacement was inserted, in the text as
// it stood at that moment (which, the hits running left to right, is also the final text).
QList<qsizetype> replaceAll(QString &text, const Entry &entry, qsizetype from = 0);
// The same for a run of many entries over one long text: `folded` is text.toCaseFolded(),
// kept by the caller and kept in step here, so the text is folded once and not in every
// case-insensitive search.
QList<qsizetype> replaceAll(QString &text, QString &folded, const Entry &entry, qsizetype from = 0);

// The text with every entry line applied in list order; lines without a usable key are
// skipped. `afterEntry` runs after each line (the recording lets events through there).
QString apply(QString text, const QStringList &lines, const std::function<void()> &afterEntry = {});

} // namespace replacelist
