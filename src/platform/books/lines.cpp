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
    for (const QChar c : text) {
        if (markupSpace(c)) {
            m_blank = !m_line.isEmpty();
            continue;
        }
        if (m_blank)
            m_line += u' ';
        m_blank = false;
        m_line += c;
    }
}

void Lines::addExact(QStringView text)
{
    if (m_blank)
        m_line += u' ';
    m_blank = false;
    for (const QChar c : text) {
        if (c != u'\n' && c != u'\r')
            m_line += c;
    }
}

void Lines::endLine()
{
    m_blank = false;
    while (m_line.endsWith(u' '))
        m_line.chop(1);
    if (m_line.isEmpty())
        return;
    m_text += m_line;
    m_text += u'\n';
    m_line.clear();
}

void Lines::emptyLine()
{
    endLine();
    if (!m_text.isEmpty())
        m_text += u'\n';
}

void Lines::separate()
{
    endLine();
    if (!m_text.isEmpty() && !m_text.endsWith(u"\n\n"))
        m_text += u'\n';
}

QString Lines::text() const
{
    QString all = m_text + m_line;
    while (all.endsWith(u'\n'))
        all.chop(1);
    return all;
}

void Lines::append(const Lines &other)
{
    if (other.isEmpty())
        return;
    separate();
    m_text += other.text();
    m_text += u'\n';
}

} // namespace books
