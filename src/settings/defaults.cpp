// The reset of the main speech and recording settings to their defaults. Only the
// controls change; the store keeps the profile until the user saves it.
#include "settings/setup.h"

#include "app/mainwindowport.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/text/twips.h"
#include "settings/outputformats.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>

namespace {

// The height the window gets back with the defaults.
constexpr int kDefaultHeight = 5085; // twips

// Sets the bar and runs its change handler even when the value was already there, so
// the box or label beside it, its status panel and the prosody tags are rewritten.
void resetBar(QScrollBar *bar, int value)
{
    bar->setValue(value);
    emit bar->valueChanged(bar->value());
}

} // namespace

void Setup::SetDefaults()
{
    if (!services::prompter().confirm(QStringLiteral("Установить значения по умолчанию?")))
        return;

    SSTab1->setCurrentIndex(1); // MP3
    Combo1->setCurrentIndex(0);
    resetBar(FlatScrollBar2, 500);
    Text1->setText(QStringLiteral("0"));
    Text2->setText(QStringLiteral("0"));
    Text3->setText(outputformats::defaultMp3Options());
    resetBar(FlatScrollBar1, 10);
    Check1->setChecked(true);
    Check2->setChecked(false);
    Check3->setChecked(true);
    Check4->setChecked(false);
    resetBar(FlatScrollBar3, 2);
    resetBar(FlatScrollBar4, 3);
    resetBar(FlatScrollBar5, 1);
    resetBar(FlatScrollBar6, 0);
    resetBar(FlatScrollBar7, 5);
    resetBar(FlatScrollBar8, -5);
    Slider1->setValue(85);
    Slider2->setValue(100);
    Slider3->setValue(70);
    Text21->setText(QStringLiteral("1"));
    Text24->setText(QStringLiteral("1"));

    if (MainWindowPort *main = mainwindowport::get()) {
        main->SetStatusBar();
        main->window().update();
    }
    resize(width(), twips::toPixels(kDefaultHeight));
}
