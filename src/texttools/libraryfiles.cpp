#include "texttools/libraryfiles.h"

#include "platform/text/docnames.h"
#include "platform/text/textfile.h"

namespace libraryfiles {

QString preview(const QString &path)
{
    QString text;
    textfile::LineReader reader(path);
    for (int i = 0; i < kPreviewLines; ++i) {
        const std::optional<QString> line = reader.next();
        if (!line)
            break;
        text += *line;
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
    textfile::LineReader reader(path);
    if (!reader.isOpen())
        return std::nullopt;
    TermMatcher matcher(terms);
    while (const std::optional<QString> line = reader.next()) {
        if (matcher.feed(*line))
            return true;
    }
    return matcher.found();
}

QString openedTitle(const QString &fileName)
{
    const QString title = docnames::blanksToUnderscores(fileName);
    return title.left(title.indexOf(u'.') < 0 ? title.size() : title.indexOf(u'.'));
}

} // namespace libraryfiles
