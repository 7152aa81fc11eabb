#pragma once

class QString;

// Speaking a row of the new-words or homograph window while listening mode is on.
namespace listening {

// Silences the shared voice and speaks `text` at once through the voice chosen in the
// settings window; false when a running job refused it (the user was told why).
bool speak(const QString &text);

} // namespace listening
