#pragma once

#include <QColor>
#include <QLocale>
#include <QString>

#include <optional>

// How the main window's look is kept as text in its hidden controls.
namespace appearance {

// A colour as the decimal number red + 256 * green + 65536 * blue.
QString colorNumber(const QColor &color);
// The colour of such a number; nothing for text that is not one.
std::optional<QColor> colorFromNumber(const QString &text);

// A font size written in the user's number format ("14", "10,5"), and read back; a size
// written with a dot reads too.
QString fontSizeText(double points, const QLocale &locale);
std::optional<double> fontSizeFromText(const QString &text, const QLocale &locale);

// The left margin of each margin command, in twips.
inline constexpr int kMarginNone = 0;
inline constexpr int kMarginNormal = 15;
inline constexpr int kMarginLarge = 30;

} // namespace appearance
