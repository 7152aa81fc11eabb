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
#include <QPointer>
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

BlockEncoding::BlockEncoding(const encoders::BlockPaths &paths, const QString &blockName, QObject *parent)
    : JobStep(parent), m_paths(paths), m_blockName(blockName), m_settings(encoderSettings()),
      m_steps(encoders::steps(m_settings, paths))
{
    next();
}

void BlockEncoding::next()
{
    if (m_steps.isEmpty()) {
        for (const auto &[made, kept] : encoders::filesToKeep(m_settings, m_paths))
            encoderprocess::putInPlace(made, kept);
        for (const QString &file : encoders::filesToDelete(m_settings, m_paths))
            QFile::remove(file);
        TotalProgressBar();
        end(true);
        return;
    }
    // The button is read once per run: pressing it during a run shows the next one.
    EncoderWindow &window = encoderWindow();
    window.clear();
    window.setVisible(monitor().showEncoderWindow());
    auto *run = new encoderprocess::Run(
        m_steps.takeFirst(),
        [window = QPointer(&window)](const QString &text) {
            if (window)
                window->append(text);
        },
        this);
    connect(run, &JobStep::finished, this, [this, run] { stepEnded(run); });
}

void BlockEncoding::stepEnded(encoderprocess::Run *run)
{
    run->deleteLater();
    // After the user's stop no further encoder starts: it would get no grace of its own.
    if (run->ok() && !(StopFlag && !m_steps.isEmpty())) {
        next();
        return;
    }
    QFile::remove(m_paths.amrMp3); // half the AMR road is no block
    if (run->ok()) {
        end(false); // stopped: nothing to tell
        return;
    }
    // Leaving the program is no failure to report.
    end(false, run->aborted() ? QString()
                              : textfile::failureMessage(
                                    QStringLiteral("Программа %1 не смогла преобразовать блок %2; звуковой "
                                                   "файл блока сохранён.")
                                        .arg(run->program(), m_blockName),
                                    m_paths.wav, run->failure()));
}

BlockEncoding *EncodeBlock(const encoders::BlockPaths &paths, const QString &blockName, QObject *parent)
{
    return new BlockEncoding(paths, blockName, parent);
}
