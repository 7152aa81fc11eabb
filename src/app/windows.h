#pragma once

class QWidget;

// The program's default window instances. Each window's accessor (`MP3()`, `setup()`, ...)
// creates its window on first use and hands it to track(); destroyAll() deletes every
// tracked window, at the end of the program and after each test.
namespace appwindows {

void track(QWidget *window);
// Deletes the tracked windows in the order they were created. A window that a destructor
// creates anew is deleted too.
void destroyAll();

} // namespace appwindows
