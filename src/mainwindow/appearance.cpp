// The main window's look: editor font and background, left margin.
#include "mainwindow/appearance.h"

#include "mainwindow/mainwindow.h"
#include "platform/richtext/richtextbox.h"
#include "platform/services/services.h"
#include "platform/services/stylechooser.h"

#include <QLineEdit>

namespace appearance {

QString colorNumber(const QColor &color)
{
    return QString::number(color.red() + 256 * color.green() + 65536 * color.blue());
}

std::optional<QColor> colorFromNumber(const QString &text)
{
    bool ok = false;
    const qint64 n = text.trimmed().toLongLong(&ok);
    if (!ok || n < 0 || n > 0xFFFFFF)
        return std::nullopt;
    return QColor(int(n & 0xFF), int((n >> 8) & 0xFF), int((n >> 16) & 0xFF));
}

QString fontSizeText(double points, const QLocale &locale)
{
    return locale.toString(points, 'g', 4);
}

std::optional<double> fontSizeFromText(const QString &text, const QLocale &locale)
{
    bool ok = false;
    double size = locale.toDouble(text.trimmed(), &ok);
    if (!ok)
        size = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || size <= 0)
        return std::nullopt;
    return size;
}

} // namespace appearance

void MainWindow::SelFont()
{
    // Cancel ends the command: nothing changes and nothing is saved.
    const auto font = services::styleChooser().font(QStringLiteral("Выберите шрифт"), RichTextBox2->font());
    if (!font)
        return;
    Text2->setText(appearance::fontSizeText(font->pointSizeF(), QLocale()));
    Text1->setText(font->family());
    SaveSettings(*this);
    applyTextView();
}

void MainWindow::FonColor_Click()
{
    const QColor current = appearance::colorFromNumber(Text3->text()).value_or(QColor(Qt::white));
    const auto color = services::styleChooser().color(QStringLiteral("Выберите цвет фона"), current);
    if (!color)
        return;
    Text3->setText(appearance::colorNumber(*color));
    SaveSettings(*this);
    applyTextView();
}

namespace {
void setMargin(MainWindow &w, int twips)
{
    // Kept with the next save of the window's settings, not at once.
    w.Text4->setText(QString::number(twips));
    w.Form_Resize();
}
} // namespace

void MainWindow::onstup0_Click()
{
    setMargin(*this, appearance::kMarginNone);
}
void MainWindow::otstup1_Click()
{
    setMargin(*this, appearance::kMarginNormal);
}
void MainWindow::otstup2_Click()
{
    setMargin(*this, appearance::kMarginLarge);
}
