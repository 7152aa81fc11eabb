#include "platform/richtext/crlfpositions.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

int CrLfPositions::length() const
{
    return m_doc.characterCount() - 1 + m_doc.blockCount() - 1;
}

int CrLfPositions::toCrLf(int qtPosition) const
{
    const int q = std::clamp(qtPosition, 0, m_doc.characterCount() - 1);
    return q + m_doc.findBlock(q).blockNumber();
}

int CrLfPositions::toQt(int crlfPosition) const
{
    const int c = std::clamp(crlfPosition, 0, length());
    // The last block whose start is not after c. Block k starts at Qt position p and, with
    // k breaks of two characters before it, at CR LF position p + k.
    int lo = 0;
    int hi = m_doc.blockCount() - 1;
    while (lo < hi) {
        const int mid = lo + (hi - lo + 1) / 2;
        if (m_doc.findBlockByNumber(mid).position() + mid <= c)
            lo = mid;
        else
            hi = mid - 1;
    }
    const QTextBlock block = m_doc.findBlockByNumber(lo);
    const int offset = c - (block.position() + lo);
    const int textLength = block.length() - 1;
    // offset == textLength + 1 is the LF: the next block's start.
    return block.position() + std::min(offset, textLength + 1);
}
