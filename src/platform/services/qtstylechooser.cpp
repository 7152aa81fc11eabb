#include "platform/services/stylechooser.h"

#include <QApplication>
#include <QColorDialog>
#include <QFontDialog>

std::optional<QFont> QtStyleChooser::font(const QString &title, const QFont &current)
{
    bool ok = false;
    // Only fonts a screen can show are offered.
    const QFont chosen = QFontDialog::getFont(&ok, current, QApplication::activeWindow(), title,
                                              QFontDialog::ScalableFonts | QFontDialog::NonScalableFonts);
    if (!ok)
        return std::nullopt;
    return chosen;
}

std::optional<QColor> QtStyleChooser::color(const QString &title, const QColor &current)
{
    const QColor chosen =
        QColorDialog::getColor(m_last.value_or(current), QApplication::activeWindow(), title);
    if (!chosen.isValid())
        return std::nullopt;
    m_last = chosen;
    return chosen;
}
