#pragma once

#include <QString>

// The working folder: every book's folder and the batch queue live in it, and its path
// must hold no blank.
namespace workfolder {

bool hasBlank(const QString &folder);

// What the user is told about a path with a blank.
QString blankWarning();

} // namespace workfolder
