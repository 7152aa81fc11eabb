#pragma once

#include <QKeySequence>
#include <QString>

// The four profiles "User1".."User4", named and keyed the same in every menu that
// switches them.
namespace profiles {

constexpr int kCount = 4;

// "User1" for profile 1.
QString name(int number);
// Ctrl+F1 for profile 1 .. Ctrl+F4 for profile 4.
QKeySequence shortcut(int number);

} // namespace profiles
