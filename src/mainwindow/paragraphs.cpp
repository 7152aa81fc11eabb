#include "mainwindow/paragraphs.h"

#include <algorithm>

namespace paragraphs {
namespace {

// True when the line that follows the CR LF at index `cr` opens a new paragraph.
bool opensParagraph(QStringView text, qsizetype cr)
{
    const QStringView after = text.mid(cr + 2);
    if (after.startsWith(u"\r\n"))
        return true;
    return !after.isEmpty() && (after[0] == u' ' || after[0] == u'-' || after[0] == u'\t');
}

} // namespace

Cutter::Cutter(QString text, int caret) : m_text(std::move(text)), m_start(caret), m_end(caret) {}

// Positions here are 1-based, as ReadStart and ReadEnd are: the character at position p
// is m_text[p - 1], and a caret offset c stands just after position c.
int Cutter::endOfParagraph() const
{
    qsizetype q = m_start;
    for (;;) {
        const qsizetype cr = m_text.indexOf(u"\r\n", std::max<qsizetype>(q, 0));
        if (cr < 0)
            return int(m_text.size()) + 1;
        if (opensParagraph(m_text, cr))
            return int(cr) + 1;
        q = cr + 1;
    }
}

std::optional<Paragraph> Cutter::next(qsizetype editorLength)
{
    // Bounded by the copy too: a text that grew meanwhile must not yield empty
    // paragraphs past the copy's end for ever.
    if (m_end >= std::min(editorLength, m_text.size()))
        return std::nullopt;
    m_end = endOfParagraph();
    Paragraph p{m_start, m_end, {}};
    p.text = m_start == 0 ? m_text.left(m_end - 1) : m_text.mid(m_start - 1, m_end - m_start);
    m_start = m_end;
    return p;
}

} // namespace paragraphs
