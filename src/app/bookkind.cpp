#include "app/bookkind.h"

#include "platform/books/books.h"

#include <QFileInfo>

namespace bookkind {

bool readAsText(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return true;
    const books::Format format = books::sniff(path);
    return format == books::Format::Text || format == books::Format::Rtf;
}

} // namespace bookkind
