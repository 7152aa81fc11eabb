#pragma once

#include "platform/speech/markup.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// eSpeak NG has no user exception dictionary, so the speech layer applies the program's
// own one to the text the dictionary voice speaks.
namespace speech {

// The exception dictionaries of the engine are read from this file; empty: none. The file
// is read again when a voice handle selects the dictionary voice after another one.
void setExceptionDictionary(const QString &path);
QString exceptionDictionary();

class ExceptionTable
{
public:
    // Entry lines: "word [word...] :<TAB><pronunciation>" with an optional " /i"; comments
    // ("//") and lines that are not entries are skipped. Exceptions hold one to five words.
    static ExceptionTable fromLines(const QStringList &lines);

    bool isEmpty() const { return m_entries.isEmpty(); }
    qsizetype size() const { return m_entries.size(); }

    // Each whole-word exception in the text becomes its pronunciation ("##" a blank, "<"
    // after a vowel its stress). The longest exception wins, then the first in the file;
    // replaced text is not searched again, and words already stressed in the text stay.
    Segment apply(const Segment &segment) const;

private:
    struct Entry
    {
        QStringList words;
        bool ignoreCase = false;
        QString text;        // the pronunciation as spoken
        QList<int> stresses; // stressed vowels in `text`
    };
    bool matches(const Entry &entry, const QString &text, const QList<std::pair<int, int>> &words,
                 int first) const;

    QList<Entry> m_entries;
    QHash<QString, QList<int>> m_byFirstWord; // lower-case first word: entries, in file order
};

} // namespace speech
