#pragma once

#include "save_load_Setting.h"

#include <QWidget>

#include <memory>

class QCheckBox;
class QLineEdit;
namespace speech {
class Voice;
}

// The settings window: every setting of the program is one of its controls, read by the
// other windows at the moment they need it.
class Setup : public QWidget, public DesignOrder
{
    Q_OBJECT
public:
    explicit Setup(QWidget *parent = nullptr);
    ~Setup() override;

    QList<QWidget *> controlsInDesignOrder() const override;

    // Applies the current profile to this window and to the main window.
    void LoadProfil();

    // The one speaking voice of the program; empty when no speech engine could start.
    std::unique_ptr<speech::Voice> Voice;

    QLineEdit *profil = nullptr;  // current profile name, never stored
    QCheckBox *Check1 = nullptr;  // "Предупреждения": ask for confirmations
    QLineEdit *Text28 = nullptr;  // working folder

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    friend Setup &setup();
    void formLoad();
};

// The default instance, created hidden and loaded on first use.
Setup &setup();
// Deletes the default instance (the end of the program or of a test).
void destroySetup();
