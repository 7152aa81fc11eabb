#include "settings/workingfolder.h"

#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/text/docnames.h"
#include "settings/setup.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTabWidget>

namespace workingfolder {

std::optional<QString> forAdding()
{
    Setup &settings = setup();
    const QString folder = settings.Text28->text();
    if (folder.isEmpty()) {
        services::prompter().critical(QStringLiteral("НЕ УКАЗАН РАБОЧИЙ КАТАЛОГ!"));
        settings.show();
        settings.SSTab2->setCurrentIndex(1);
        return std::nullopt;
    }
    if (docnames::hasBlank(folder))
        services::prompter().critical(QStringLiteral("Пробелы в названиии рабочего каталога и в пути к нему "
                                                     "недопустимы! Укажите другой каталог, с более "
                                                     "простым названием. Напимер, C:\\Аудиокниги"));
    return folder;
}

bool confirmAdding()
{
    return !setup().Check1->isChecked() ||
           services::prompter().confirm(QStringLiteral("Добавить файл на обработку в рабочий каталог?"));
}

} // namespace workingfolder
