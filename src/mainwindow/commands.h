#pragma once

#include "app/busy.h"

#include <QKeySequence>
#include <QString>

#include <optional>
#include <span>

// What the main window's menus and toolbar offer. A command is named by its menu item's
// objectName; the toolbar buttons run the command of a menu item.
namespace commands {

struct MenuItem
{
    const char *name;    // objectName; also the command's name
    const char *caption; // empty for a separator
    QKeySequence shortcut;
    std::span<const MenuItem> submenu;
    // What the command changes, so a running job can refuse it; nothing for commands
    // that only show something.
    std::optional<busy::Change> changes = std::nullopt;
};

struct Menu
{
    const char *name;
    const char *caption;
    std::span<const MenuItem> items;
};

// The menu bar, left to right.
std::span<const Menu> menuBar();

struct ToolbarButton
{
    int index; // 1-based, as the dispatch counts
    bool separator;
    const char *caption; // shown when the captions are on
    const char *toolTip;
    int image;           // 1-based picture in either icon set
    const char *command; // menu item whose command the button runs; empty: none
};

// What the command of a menu item changes (nothing for a command that only shows something).
std::optional<busy::Change> changes(const QString &command);

// The toolbar buttons and separators in order (index 1..14).
std::span<const ToolbarButton> toolbar();

// The command a toolbar button runs, or an empty text for a separator, the pause button
// or an index out of range.
QString toolbarCommand(int index);

// objectName of the toolbar's button at `index`.
QString toolbarButtonName(int index);

} // namespace commands
