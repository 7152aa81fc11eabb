#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <optional>

// The font and colour dialogs. Nothing is returned when the user cancels.
class StyleChooser
{
public:
    virtual ~StyleChooser() = default;
    virtual std::optional<QFont> font(const QString &title, const QFont &current) = 0;
    virtual std::optional<QColor> color(const QString &title, const QColor &current) = 0;
};

class QtStyleChooser : public StyleChooser
{
public:
    std::optional<QFont> font(const QString &title, const QFont &current) override;
    // Opens on the colour it last returned, whatever the caller passes, as the colour
    // dialog always did.
    std::optional<QColor> color(const QString &title, const QColor &current) override;

private:
    std::optional<QColor> m_last;
};
