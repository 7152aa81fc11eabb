#pragma once

#include <QString>
#include <QStringView>

namespace books {

// Gathers a book's text line by line as its markup is walked: a paragraph, a verse line or
// a heading is a line, and markup's white space (line ends and indents of the source) reads as
// one blank, as a browser shows it.
class Lines
{
public:
    // Text from markup: runs of blanks, tabs and line ends become one blank, none at a line's
    // start or end. A no-break space is a character of the text and stays.
    void add(QStringView text);
    // Text kept as it stands (a word processor's run, a tab): only line ends are taken out.
    void addExact(QStringView text);
    // Ends the line in progress, if any.
    void endLine();
    // An empty line of the book's own.
    void emptyLine();
    // Ends the line and leaves one empty line before what follows (a heading, a stanza), unless
    // the text is still empty or already ends so.
    void separate();
    bool isEmpty() const { return m_text.isEmpty(); }
    // The lines joined by "\n", without empty lines at the end.
    QString text() const;
    // Appends another's lines after an empty line.
    void append(const Lines &other);

private:
    bool lineEmpty() const { return m_text.size() == m_lineStart; }

    QString m_text;            // the lines so far, the one in progress last
    qsizetype m_lineStart = 0; // where the line in progress starts
    bool m_blank = false;      // a blank is due before the next character
};

} // namespace books
