#pragma once

class QString;

// Speaking a row of the new-words or homograph window while listening mode is on.
namespace listening {

// Silences the shared voice and speaks `text` at once through the voice chosen in the
// settings window.
void speak(const QString &text);

} // namespace listening
