#pragma once

// The main window's commands that open the dictionary editor.
namespace dictionaries {

// "Редактор словаря": loads the dictionary when the list is empty and shows the editor.
void showDicEdit();
// "Выделенное - в редактор словаря" (F9): a selection of 1 to 50 characters in the main
// editor goes to the dictionary editor's word box; anything else does nothing.
void selectionToDicEdit();
// "Сравнение двух словарей": shows the dictionary comparer.
void showDicCompare();

} // namespace dictionaries
