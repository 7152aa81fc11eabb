#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// A setting typed as text, read as a 16-bit integer: a number rounded to the nearest
// integer (halves to even); nothing for text that is not a number or out of range.
std::optional<std::int16_t> toInt16(const QString &text);
// A value as such a setting shows it: the number kept to 16 bits.
QString int16Text(int value);
