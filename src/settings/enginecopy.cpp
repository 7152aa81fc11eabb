#include "settings/enginecopy.h"

#include "platform/speech/exceptions.h"
#include "platform/text/programfolder.h"
#include "settings/setup.h"

#include <QRadioButton>
#include <QSignalBlocker>

namespace enginecopy {

QString path(int version)
{
    if (version < 1 || version > 3)
        return {};
    return programfolder::file(QStringLiteral("ENGINE/%1/exc_rus.txt").arg(version));
}

int version(const Setup &settings)
{
    const QRadioButton *options[] = {settings.Option1, settings.Option2, settings.Option3};
    for (int i = 0; i < 3; ++i) {
        if (options[i] && options[i]->isChecked())
            return i + 1;
    }
    return 0;
}

void apply(const Setup &settings)
{
    speech::setExceptionDictionary(path(version(settings)));
}

void showApplied(Setup &settings)
{
    const QString applied = speech::exceptionDictionary();
    QRadioButton *options[] = {settings.Option1, settings.Option2, settings.Option3};
    for (int i = 0; i < 3; ++i) {
        const QSignalBlocker quiet(options[i]);
        options[i]->setChecked(path(i + 1) == applied);
    }
}

} // namespace enginecopy
