#pragma once

#include <QString>

// Wildcard patterns as the dictionary tools write them, matched against a whole text with
// letter case ignored: "*" any run of characters (also none), "?" one character, "#" one
// digit, "[...]" one character of the set it lists. Inside brackets "a-b" is a range and
// every other character ("#", ",", "(" too) stands for itself.
namespace pattern {

bool like(const QString &text, const QString &pattern);

} // namespace pattern
