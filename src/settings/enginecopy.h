#pragma once

#include <QString>

class Setup;

// The speech engine's copy of the exception dictionary: one per engine version, in the
// program folder's ENGINE/<version>/ folder.
namespace enginecopy {

// The engine copy of version 1 to 3; empty for any other.
QString path(int version);
// The version set in the settings window (Option1..Option3), or 0 when none is.
int version(const Setup &settings);
// Points the speech engine at the copy of the version set (called when it changes).
void apply(const Setup &settings);
// Sets the settings window's version back to the one the engine uses, quietly.
void showApplied(Setup &settings);

} // namespace enginecopy
