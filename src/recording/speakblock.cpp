#include "recording/speakblock.h"

#include "app/globals.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/speech/voice.h"
#include "platform/text/textfile.h"
#include "recording/encoderprocess.h"
#include "recording/encoders.h"
#include "recording/logging.h"
#include "recording/voicelist.h"
#include "settings/setup.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QTabWidget>

Q_LOGGING_CATEGORY(lcRecording, "quenvale.recording", QtWarningMsg)

std::optional<int> blockWaveFormat(int tab, std::optional<int> listedType, const QString &voiceDescription)
{
    switch (tab) {
    case 0:
        return listedType;
    case 1:
    case 2:
        return isKaterinaVoice(voiceDescription) ? 22 : 18;
    case 3:
        return 18;
    case 4:
        return 6;
    default:
        return std::nullopt;
    }
}

namespace {

// Names the block's own file, once, whichever name the speech was going to; what was spoken
// under the temporary name is never left behind.
bool failed(const QString &wavPath, const QString &reason)
{
    QFile::remove(encoders::temporaryName(wavPath));
    qCInfo(lcRecording) << "no WAV file" << wavPath << reason;
    services::prompter().critical(
        textfile::failureMessage(QStringLiteral("Не удалось записать звуковой файл блока"), wavPath, reason));
    StopFlag = true;
    return false;
}

} // namespace

bool SpeakBlockToWav(const QString &wavPath)
{
    Setup &settings = setup();
    settings.Tembrs();
    speech::Voice *voice = settings.Voice.get();
    if (!voice)
        return failed(wavPath, QStringLiteral("голосовой движок недоступен"));
    voice->Speak(QString(), speech::PurgeBeforeSpeak);

    const int listed = settings.FormatCB->currentIndex();
    const auto type = blockWaveFormat(
        settings.SSTab1->currentIndex(),
        listed >= 0 ? std::optional<int>(settings.FormatCB->itemData(listed).toInt()) : std::nullopt,
        voice->CurrentVoice().description);
    // A WAV file under the block's name is always whole speech: for WAV output it is the block.
    const QString speaking = encoders::temporaryName(wavPath);
    // Never through the speakers instead: a block without its file is a failed block.
    if (!voice->OpenOutputFile(speaking, type.value_or(kDefaultWaveFormat)))
        return failed(wavPath, voice->LastError());
    if (!voice->Speak(BlockText, speech::Async)) {
        const QString reason = voice->LastError();
        voice->CloseOutputFile();
        return failed(wavPath, reason);
    }
    while (!voice->WaitUntilDone(10)) {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        if (StopFlag) {
            voice->Speak(QString(), speech::PurgeBeforeSpeak);
            break;
        }
    }
    // Closing gives the voice back to the speakers, after a stop as well.
    if (!voice->CloseOutputFile())
        return failed(wavPath, voice->LastError());
    if (StopFlag) {
        QFile::remove(speaking);
        return true;
    }
    // Speech silenced by anything but this recording leaves a block cut short: it is never
    // kept, so the next run speaks it whole.
    if (voice->LastEnd() != speech::SpeechEnd::Ended)
        return failed(wavPath, QStringLiteral("речь блока прервана другой командой, блок не записан. "
                                              "Запустите запись снова, чтобы дописать книгу"));
    QString reason;
    if (!encoderprocess::putInPlace(speaking, wavPath, &reason))
        return failed(wavPath, reason);
    return true;
}
