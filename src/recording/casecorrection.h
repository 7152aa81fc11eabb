#pragma once

#include <QString>

// A line written in capitals (five Cyrillic capitals in a row) brought to proper case:
// every word starts upper case, the rest is lower case. Other lines come back unchanged.
QString CorrectCase(const QString &line);

// Rewrites CurLine in place.
void CorrectCase();
