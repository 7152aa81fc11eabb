#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Cuts the editor's text into the paragraphs that are read aloud one at a time.
//
// A CR LF ends a paragraph when an empty line follows it or the next line begins with a
// blank, "-" or a TAB; any other line break stays inside the paragraph. Positions are the
// editor's caret offsets (a line break counts as two characters).
namespace paragraphs {

struct Paragraph
{
    int start = 0; // where the highlight begins (ReadStart)
    int end = 0;   // ReadEnd: start + highlight length
    QString text;  // what is prepared and spoken
};

// Hands out the paragraphs of a copy of the text, from the caret to the end.
//
// The first paragraph begins with the character just before the caret, and every later
// one with the line break that ended the one before it, so the spoken text follows the
// highlight exactly. The last paragraph's end lies one past the text.
class Cutter
{
public:
    Cutter(QString text, int caret);

    // The next paragraph, or nothing once the copy or the editor's text as it stands now
    // (`editorLength`) is used up.
    std::optional<Paragraph> next(qsizetype editorLength);

private:
    int endOfParagraph() const;

    QString m_text;
    int m_start;
    int m_end;
};

} // namespace paragraphs
