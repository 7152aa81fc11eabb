#include "texttools/libraryfiles.h"

#include "platform/text/docnames.h"
#include "platform/text/textfile.h"

namespace libraryfiles {

QString preview(const QString &path)
{
    // A file with no line ends at all (a binary, a long paragraph) is cut at a size too.
    const std::optional<QString> head = textfile::readHead(path, kPreviewBytes);
    if (!head)
        return QString();
    QString text;
    const QStringList lines = textfile::splitLines(*head, textfile::LineEnds::Any);
    for (qsizetype i = 0; i < std::min<qsizetype>(lines.size(), kPreviewLines); ++i) {
        text += lines[i];
        text += QStringLiteral("\r\n");
    }
    return text;
}

TermMatcher::TermMatcher(QStringList terms) : m_terms(std::move(terms)) {}

bool TermMatcher::feed(QStringView line)
{
    if (found())
        return true;
    const QString &term = m_terms[m_next];
    const bool match = term.isEmpty() ? !line.isEmpty() : line.contains(term, Qt::CaseInsensitive);
    if (match)
        ++m_next;
    return found();
}

std::optional<bool> fileMatches(const QString &path, const QStringList &terms)
{
    // Lines as the preview shows them: any line end ends one.
    textfile::LineReader reader(path, textfile::LineEnds::Any);
    if (!reader.isOpen())
        return std::nullopt;
    TermMatcher matcher(terms);
    while (const std::optional<QString> line = reader.next()) {
        if (matcher.feed(*line))
            return true;
    }
    return matcher.found();
}

} // namespace libraryfiles
