// The four profiles of the settings window: its profile toolbar and menu, and the load
// and save of a profile. A profile is the pair of store sections "setupUserN" and
// "MP3UserN"; the name of the current one is the text of `profil`.
#include "settings/profiles.h"

#include "app/busy.h"
#include "settings/setup.h"

#include "app/mainwindowport.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "settings/textnumber.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

using profiles::kCount;
constexpr int kSaveButton = 6;
constexpr int kDefaultsButton = 7;
constexpr int kHelpButton = 9;

} // namespace

QString profiles::name(int number)
{
    return QStringLiteral("User%1").arg(number);
}

QKeySequence profiles::shortcut(int number)
{
    return QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_F1 + number - 1));
}

void Setup::createProfiles(QVBoxLayout &layout)
{
    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    for (int n = 1; n <= kCount; ++n) {
        QAction *button = Toolbar1->addAction(profiles::name(n));
        button->setToolTip(QStringLiteral("User %1").arg(n));
        button->setCheckable(true);
    }
    Toolbar1->addSeparator();
    const auto iconButton = [this](QStyle::StandardPixmap icon, const QString &toolTip) {
        Toolbar1->addAction(style()->standardIcon(icon), toolTip);
    };
    iconButton(QStyle::SP_DialogSaveButton, QStringLiteral("Сохранить настройки профиля"));
    iconButton(QStyle::SP_DialogResetButton, QStringLiteral("Возврат стандартных настроек профиля"));
    Toolbar1->addSeparator();
    iconButton(QStyle::SP_MessageBoxQuestion, QStringLiteral("Краткая справка по настройкам программы"));
    // Buttons are known by their 1-based index, separators included.
    const QList<QAction *> buttons = Toolbar1->actions();
    for (int i = 0; i < buttons.size(); ++i)
        buttons[i]->setObjectName(QStringLiteral("Toolbar1_%1").arg(i + 1));
    connect(Toolbar1, &QToolBar::actionTriggered, this,
            [this](QAction *button) { Toolbar1_ButtonClick(Toolbar1->actions().indexOf(button) + 1); });
    layout.insertWidget(0, Toolbar1);
    // The form starts in the first profile.
    pressProfileButton(1);

    prof = new QMenu(QStringLiteral("Профили"), this);
    prof->setObjectName(QStringLiteral("prof"));
    for (int n = 1; n <= kCount; ++n) {
        QAction *item = prof->addAction(profiles::name(n));
        item->setObjectName(profiles::name(n));
        item->setShortcut(profiles::shortcut(n));
        connect(item, &QAction::triggered, this, [this, n] { User_Click(n); });
    }
    QAction *save = prof->addAction(QStringLiteral("Сохранить настройки"));
    save->setObjectName(QStringLiteral("SaveSet"));
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F5));
    connect(save, &QAction::triggered, this, &Setup::SaveProfil);
    menuBar->insertMenu(menuBar->findChild<QAction *>(QStringLiteral("help2")), prof);
}

void Setup::pressProfileButton(int number)
{
    const QList<QAction *> buttons = Toolbar1->actions();
    for (int n = 1; n <= kCount; ++n)
        buttons[n - 1]->setChecked(n == number);
}

void Setup::Toolbar1_ButtonClick(int index)
{
    // A running job keeps the voice and the settings it speaks with; the profile in use
    // stays the pressed one.
    const bool profileButton = index >= 1 && index <= kCount;
    if ((profileButton || index == kDefaultsButton) && busy::refuse(busy::Change::Settings)) {
        for (int n = 1; n <= kCount; ++n)
            if (profiles::name(n) == profil->text())
                pressProfileButton(n);
        return;
    }
    if (profileButton) {
        const QString name = profiles::name(index);
        profil->setText(name);
        pressProfileButton(index);
        // Answering No keeps the controls as they are under the new name: the next save
        // copies them into this profile.
        if (services::prompter().confirm(
                QStringLiteral("Установить настройки, ранее сохраненные как %1?").arg(name))) {
            LoadProfil();
            profil->setText(name);
        }
    } else if (index == kSaveButton) {
        SaveProfil();
    } else if (index == kDefaultsButton) {
        SetDefaults();
    } else if (index == kHelpButton) {
        mainwindowport::showHelp(QStringLiteral("Help9.rtf"));
    }
}

void Setup::User_Click(int number)
{
    // A running job keeps the voice and the settings it speaks with.
    if (busy::refuse(busy::Change::Settings))
        return;
    pressProfileButton(number);
    profil->setText(profiles::name(number));
    LoadProfil();
}

void Setup::LoadProfil()
{
    LoadSettings(*this);
    update();
    if (MainWindowPort *main = mainwindowport::get()) {
        LoadSettings(main->window());
        // Each of the following steps stands on its own: a stored font size or colour
        // that is not a number must not leave the status bar or the output page showing
        // the profile that was left.
        main->applyTextView();
        main->SetStatusBar();
        main->window().update();
    }
    update();
    const auto page = toInt16(Text11->text());
    if (page && *page >= 0 && *page < SSTab1->count())
        SSTab1->setCurrentIndex(*page);
}

void Setup::SaveProfil()
{
    // Asked whatever the confirmation setting says: a save overwrites the profile.
    if (!services::prompter().confirm(QStringLiteral("Сохранить изменения параметров для данного профиля?")))
        return;
    SaveSettings(*this);
    if (MainWindowPort *main = mainwindowport::get())
        SaveSettings(main->window());
}
