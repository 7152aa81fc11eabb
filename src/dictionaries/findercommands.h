#pragma once

// The main window's commands of the new-word finder and the homograph tools.
namespace dictionaries {

// "Поиск новых слов" (F3): asks the threshold in the main window's option panel, runs the
// finder over the selection (or the whole text) with progress and stop in the progress
// panel, and shows what remains in the new-words window.
void FindNewWords_Click();
// "Поиск омографов" (F4): marks the homographs in the main text; the homograph window is
// loaded for its list but stays hidden.
void markHomographs();
// "Анализ омографов": shows the homograph window.
void showHomographs();

} // namespace dictionaries
