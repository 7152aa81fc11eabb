#include "platform/books/lines.h"

namespace books {

namespace {

bool markupSpace(QChar c)
{
    return c == u' ' || c == u'\n' || c == u'\r' || c == u'\t' || c == u'\f';
}

} // namespace

void Lines::add(QStringView text)
{
    const qsizetype size = text.size();
    qsizetype i = 0;
    while (i < size) {
        if (markupSpace(text[i])) {
            m_blank = !lineEmpty();
            ++i;
            continue;
        }
        qsizetype end = i + 1;
        while (end < size && !markupSpace(text[end]))
            ++end;
        if (m_blank)
            m_text += u' ';
        m_blank = false;
        m_text += text.sliced(i, end - i);
        i = end;
    }
}

void Lines::addExact(QStringView text)
{
    if (m_blank)
        m_text += u' ';
    m_blank = false;
    for (const QChar c : text) {
        if (c != u'\n' && c != u'\r')
            m_text += c;
    }
}

void Lines::endLine()
{
    m_blank = false;
    while (!lineEmpty() && m_text.endsWith(u' '))
        m_text.chop(1);
    if (lineEmpty())
        return;
    m_text += u'\n';
    m_lineStart = m_text.size();
}

void Lines::emptyLine()
{
    endLine();
    if (!m_text.isEmpty()) {
        m_text += u'\n';
        m_lineStart = m_text.size();
    }
}

void Lines::separate()
{
    endLine();
    if (!m_text.isEmpty() && !m_text.endsWith(u"\n\n")) {
        m_text += u'\n';
        m_lineStart = m_text.size();
    }
}

QString Lines::text() const
{
    qsizetype end = m_text.size();
    while (end > m_lineStart && m_text[end - 1] == u' ')
        --end;
    while (end > 0 && m_text[end - 1] == u'\n')
        --end;
    return m_text.first(end);
}

void Lines::append(const Lines &other)
{
    if (other.isEmpty())
        return;
    separate();
    m_text += other.text();
    m_text += u'\n';
    m_lineStart = m_text.size();
}

} // namespace books
