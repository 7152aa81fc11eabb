#pragma once

#include <QPointer>
#include <QWidget>

// The program's default window instances. Each window's accessor (`MP3()`, `setup()`, ...)
// creates its window on first use and hands it to track(); destroyAll() deletes every
// tracked window, at the end of the program and after each test.
namespace appwindows {

void track(QWidget *window);
// Deletes the tracked windows in the order they were created. A window that a destructor
// creates anew is deleted too.
void destroyAll();

// Shows a window, or brings it to the front when it is shown already.
void show(QWidget &window);

// Hides every window but `except`; windows not created yet are not created for it.
void hideAllExcept(const QWidget *except);

// The default instance held in `slot`: created on first use, tracked, and then loaded by
// `load` when one is given. The slot is set before loading, so the load may already reach
// the window through its accessor.
template <class W> W &instance(QPointer<W> &slot, void (W::*load)() = nullptr)
{
    if (!slot) {
        slot = new W;
        track(slot);
        if (load)
            (slot->*load)();
    }
    return *slot;
}

} // namespace appwindows
