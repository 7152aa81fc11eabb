#pragma once

#include "platform/books/books.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// The library's rules for book files: the preview, the search for terms in order, and the
// titles a file gets when it is opened or added to the batch.
namespace libraryfiles {

// The preview shows at most this many lines of a file.
inline constexpr int kPreviewLines = 101;
// ... taken from at most this many bytes at its start.
inline constexpr qint64 kPreviewBytes = 16 * 1024;

// The first lines of the file (any line end), each followed by CR LF; as far as it could be
// read.
QString preview(const QString &path);
// The same for an e-book read into text, under its title and an empty line; for a file that
// is refused, why.
QString eBookPreview(const books::Reading &reading);

// Finds terms on successive lines in order: each term on a line after the one where the
// previous term was found. Letter case is ignored; an empty term matches any line that is
// not empty.
class TermMatcher
{
public:
    explicit TermMatcher(QStringList terms);
    // Takes the next line; true once every term has been found.
    bool feed(QStringView line);
    bool found() const { return m_next >= m_terms.size(); }

private:
    QStringList m_terms;
    qsizetype m_next = 0;
};

// Whether the file holds the terms in order, its lines split at any line end as in the
// preview (read only as far as needed; an e-book's text read whole); nothing when it cannot be
// read or is refused.
std::optional<bool> fileMatches(const QString &path, const QStringList &terms);

} // namespace libraryfiles
