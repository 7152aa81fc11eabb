#pragma once

class QTextDocument;

// The program counts a line break as the two characters CR LF (caret offsets, bookmarks,
// search positions); a QTextDocument counts one. This converts between the two for one
// document, in O(log^2 n) per position, without copying its text.
class CrLfPositions
{
public:
    explicit CrLfPositions(const QTextDocument &doc) : m_doc(doc) {}

    // Length of the text with CR LF line breaks.
    int length() const;
    // Clamped to the document. A break (the paragraph separator) maps to its CR.
    int toCrLf(int qtPosition) const;
    // Clamped to the text. The position between a CR and its LF maps to the start of the
    // next line, so a selection never splits a line break.
    int toQt(int crlfPosition) const;

private:
    const QTextDocument &m_doc;
};
