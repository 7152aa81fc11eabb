#include "app/bookkind.h"

#include "platform/books/books.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"

#include <QDir>
#include <QFileInfo>

namespace bookkind {

bool readAsText(const QString &path)
{
    const books::Format format = books::sniff(path);
    return format == books::Format::Text || format == books::Format::Rtf;
}

bool refuseWritingOver(const QString &path)
{
    if (!QFileInfo::exists(path) || readAsText(path))
        return false;
    services::prompter().critical(
        QStringLiteral("Файл %1 — не текстовый файл (электронная книга или другой документ), "
                       "программа не записывает поверх него. Сохраните текст под другим именем.")
            .arg(QDir::toNativeSeparators(path)));
    return true;
}

} // namespace bookkind
