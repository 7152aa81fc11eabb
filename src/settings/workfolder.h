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

// The working folder for a text added to the batch or a book recorded. None set: says so and
// opens the settings window on its recording page, and gives nothing. A blank in its path is
// warned about but the folder is still given.
std::optional<QString> checkedFolder();

// Asks "Добавить файл на обработку в рабочий каталог?" when confirmations are on; true to go on.
bool confirmAdding();

} // namespace workfolder
