#include "texttools/libraryfiles.h"

#include "app/bookkind.h"
#include "platform/text/docnames.h"
#include "platform/text/textfile.h"

namespace libraryfiles {

namespace {

QString firstLines(const QStringList &lines)
{
    QString text;
    for (qsizetype i = 0; i < std::min<qsizetype>(lines.size(), kPreviewLines); ++i) {
        text += lines[i];
        text += QStringLiteral("\r\n");
    }
    return text;
}

} // namespace

QString preview(const QString &path)
{
    // A file with no line ends at all (a binary, a long paragraph) is cut at a size too.
    const std::optional<QString> head = textfile::readHead(path, kPreviewBytes);
    if (!head)
        return QString();
    return firstLines(textfile::splitLines(*head, textfile::LineEnds::Any));
}

QString eBookPreview(const books::Reading &reading)
{
    if (!reading.ok)
        return reading.message;
    // The first lines only: a whole book would be laid out for a look.
    const qsizetype end = [&] {
        qsizetype at = -1;
        for (int line = 0; line < kPreviewLines; ++line)
            if ((at = reading.text.indexOf(u'\n', at + 1)) < 0)
                return reading.text.size();
        return at;
    }();
    return reading.title + QStringLiteral("\r\n\r\n") + firstLines(reading.text.left(end).split(u'\n'));
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
    if (!bookkind::readAsText(path)) {
        const books::Reading reading = books::read(path);
        if (!reading.ok)
            return std::nullopt;
        TermMatcher matcher(terms);
        for (const QStringView line : QStringView(reading.text).split(u'\n'))
            if (matcher.feed(line))
                return true;
        return matcher.found();
    }
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
