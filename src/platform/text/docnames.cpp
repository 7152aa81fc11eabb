#include "platform/text/docnames.h"

#include <QDir>
#include <QFileInfo>

namespace docnames {
namespace {

const QString kAllFiles = QStringLiteral("All Files (*)");
const QString kTextFiles = QStringLiteral("Текстовые файлы (*.txt)");
// The RTF entry keeps the description it has always had.
const QString kRtfFiles = QStringLiteral("Текстовые файлы (*.rtf)");

FileDialogSpec dialog(const QString &title, const QString &preselected)
{
    return {title, kAllFiles + QStringLiteral(";;") + preselected, preselected};
}

} // namespace

QString bookTitleFromFileName(const QString &fileName)
{
    QString title = blanksToUnderscores(fileName);
    const qsizetype dot = title.lastIndexOf(u'.');
    if (dot < 0)
        return title;
    title.truncate(dot);
    title.replace(u'.', u'_');
    return title;
}

QString titleBeforeFirstDot(const QString &fileName)
{
    const QString title = blanksToUnderscores(fileName);
    return title.left(title.indexOf(u'.') < 0 ? title.size() : title.indexOf(u'.'));
}

QString bookTitleFromPath(const QString &path)
{
    return bookTitleFromFileName(QFileInfo(path).fileName());
}

QString eBookTitle(const QString &title)
{
    return safeFileName(blanksToUnderscores(title.simplified()));
}

QString besideFile(const QString &file, const QString &title, const QString &suffix)
{
    return QFileInfo(file).dir().filePath(safeFileName(title) + suffix);
}

QString blanksToUnderscores(const QString &title)
{
    QString result = title;
    result.replace(u' ', u'_');
    return result;
}

bool hasBlank(const QString &folder)
{
    return folder.contains(u' ');
}

QString safeFileName(const QString &title)
{
    QString name = title;
    name.replace(u'/', u'_');
    name.replace(QChar(u'\0'), u'_');
    return name;
}

QString batchFilePath(const QString &workingFolder, const QString &title)
{
    // Joined by hand: QDir::filePath takes a name starting with ":" for a resource path.
    QString folder = QDir::cleanPath(workingFolder);
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder + safeFileName(blanksToUnderscores(title)) + QStringLiteral(".txt");
}

bool isFilePath(const QString &path)
{
    return !path.isEmpty() && QDir::isAbsolutePath(path);
}

FileDialogSpec openTextDialog(const QStringList &bookPatterns)
{
    const QString books = QStringLiteral("Книги (%1)").arg(bookPatterns.join(u' '));
    return {QStringLiteral("Открыть текстовый файл"),
            kAllFiles + QStringLiteral(";;") + kTextFiles + QStringLiteral(";;") + books, books};
}

FileDialogSpec saveTextDialog()
{
    return dialog(QStringLiteral("Сохранить файл как..."), kTextFiles);
}

FileDialogSpec saveRtfDialog()
{
    return dialog(QStringLiteral("Сохранить файл как..."), kRtfFiles);
}

} // namespace docnames
