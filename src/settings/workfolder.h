#pragma once

#include "platform/text/docnames.h"

#include <QString>

#include <optional>

// The working folder: every book's folder and the batch queue live in it, and its path
// must hold no blank.
namespace workfolder {

using docnames::hasBlank;

// What the user is told about a path with a blank.
QString blankWarning();

// Whether `folder` is there as a folder; when it is not, says so ("Рабочий каталог не найден").
// A working folder that is gone (a drive not mounted) is never made anew: the books and the
// batch queue are in the folder the user meant.
bool found(const QString &folder);

// The working folder for a text added to the batch or a book recorded. None set: says so and
// opens the settings window on its recording page, and gives nothing. A blank in its path is
// warned about but the folder is still given; a folder not found gives nothing.
std::optional<QString> checkedFolder();

// Asks "Добавить файл на обработку в рабочий каталог?" when confirmations are on; true to go on.
bool confirmAdding();

} // namespace workfolder
