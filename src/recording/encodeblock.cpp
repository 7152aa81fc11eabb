#include "recording/encodeblock.h"

#include "app/globals.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/text/textfile.h"
#include "recording/encoderprocess.h"
#include "recording/encoderwindow.h"
#include "recording/monitor.h"
#include "settings/setup.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>

encoders::Settings encoderSettings()
{
    const Setup &s = setup();
    encoders::Settings settings;
    settings.format = s.SSTab1->currentIndex();
    settings.mp3Options = s.Text3->text();
    settings.artist = s.Text10->text();
    settings.title = s.Text14->text();
    settings.oggOptions = s.Text12->text();
    // With neither rate chosen the standard 12.2 kbit/s is used.
    settings.amrLowRate = s.Option6->isChecked() && !s.Option5->isChecked();
    settings.keepMp3 = s.Check7->isChecked();
    settings.keepWav = s.Check8->isChecked();
    return settings;
}

bool EncodeBlock(const encoders::BlockPaths &paths, const QString &blockName)
{
    const encoders::Settings settings = encoderSettings();
    for (const encoders::Step &step : encoders::steps(settings, paths)) {
        // The button is read once per run: pressing it during a run shows the next one.
        EncoderWindow &window = encoderWindow();
        window.clear();
        window.setVisible(monitor().showEncoderWindow());
        const encoderprocess::Result result =
            encoderprocess::run(step, [&window](const QString &text) { window.append(text); });
        if (!result.ok) {
            if (!result.aborted)
                services::prompter().critical(textfile::failureMessage(
                    QStringLiteral(
                        "Программа %1 не смогла преобразовать блок %2; звуковой файл блока сохранён.")
                        .arg(step.program, blockName),
                    paths.wav, result.error));
            QFile::remove(paths.amrMp3); // half the AMR road is no block
            StopFlag = true;
            return false;
        }
    }
    for (const auto &[made, kept] : encoders::filesToKeep(settings, paths))
        encoderprocess::putInPlace(made, kept);
    for (const QString &file : encoders::filesToDelete(settings, paths))
        QFile::remove(file);
    TotalProgressBar();
    return true;
}
