// The working-folder chooser and the buttons that forward to the main window's look.
#include "settings/workfolder.h"

#include "app/mainwindowport.h"
#include "platform/services/filechooser.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "settings/setup.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace workfolder {

QString blankWarning()
{
    return QStringLiteral("Пробелы в названиии рабочего каталога и в пути к нему недопустимы! Укажите другой "
                          "каталог, с более простым названием. Напимер, C:\\Аудиокниги");
}

std::optional<QString> checkedFolder()
{
    Setup &settings = setup();
    const QString folder = settings.Text28->text();
    if (folder.isEmpty()) {
        services::prompter().critical(QStringLiteral("НЕ УКАЗАН РАБОЧИЙ КАТАЛОГ!"));
        settings.show();
        settings.SSTab2->setCurrentIndex(1);
        return std::nullopt;
    }
    if (hasBlank(folder))
        services::prompter().critical(blankWarning());
    if (!found(folder))
        return std::nullopt;
    return folder;
}

bool found(const QString &folder)
{
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        return true;
    services::prompter().critical(
        QStringLiteral("Рабочий каталог не найден:\n%1").arg(QDir::toNativeSeparators(folder)));
    return false;
}

bool confirmAdding()
{
    return !setup().Check1->isChecked() ||
           services::prompter().confirm(QStringLiteral("Добавить файл на обработку в рабочий каталог?"));
}

} // namespace workfolder

QString Setup::BrowseForFolder(const QString &title)
{
    return services::fileChooser().folder(title, Text28->text());
}

void Setup::Command11_Click()
{
    // A path with a blank is refused before it is stored and the chooser opens again;
    // Cancel always ends the command, so it can never loop on an old path.
    for (;;) {
        const QString chosen = BrowseForFolder(QStringLiteral("Укажите рабочий каталог"));
        if (chosen.isEmpty())
            return;
        if (!workfolder::hasBlank(chosen)) {
            Text28->setText(chosen);
            if (MainWindowPort *main = mainwindowport::get())
                main->setStatusPanel(3, chosen);
            return;
        }
        services::prompter().critical(workfolder::blankWarning());
    }
}

void Setup::connectFolderAndViewButtons()
{
    connect(Command11, &QPushButton::clicked, this, &Setup::Command11_Click);
    const std::pair<QPushButton *, void (MainWindowPort::*)()> view[] = {
        {Command10, &MainWindowPort::onstup0_Click}, {Command9, &MainWindowPort::otstup1_Click},
        {Command7, &MainWindowPort::otstup2_Click},  {Command8, &MainWindowPort::FonColor_Click},
        {Command3, &MainWindowPort::SelFont},
    };
    for (const auto &[button, command] : view)
        connect(button, &QPushButton::clicked, this, [command] {
            if (MainWindowPort *main = mainwindowport::get())
                (main->*command)();
        });
}
