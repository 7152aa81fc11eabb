#pragma once

#include <QString>

#include <optional>

// The checks every command that adds a text to the batch makes of the working folder.
namespace workingfolder {

// The working folder for an added text. None set: says so and opens the settings window
// on its recording page, and gives nothing. A blank in its path is warned about (the
// batch cannot cope with it) but the folder is still given.
std::optional<QString> forAdding();

// Asks "Добавить файл на обработку в рабочий каталог?" when confirmations are on; true to go on.
bool confirmAdding();

} // namespace workingfolder
