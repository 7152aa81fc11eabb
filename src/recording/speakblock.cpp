#include "recording/speakblock.h"

#include "app/globals.h"
#include "platform/speech/voice.h"
#include "platform/text/textfile.h"
#include "recording/encoderprocess.h"
#include "recording/encoders.h"
#include "recording/logging.h"
#include "recording/voicelist.h"
#include "settings/setup.h"

#include <QComboBox>
#include <QFile>
#include <QPointer>
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

// One poll of the voice; a stop is noticed between two polls.
constexpr int kPollMs = 10;

QPointer<BlockSpeech> &current()
{
    static QPointer<BlockSpeech> speech;
    return speech;
}

} // namespace

BlockSpeech::BlockSpeech(const QString &wavPath, QObject *parent)
    : JobStep(parent), m_wav(wavPath), m_speaking(encoders::temporaryName(wavPath))
{
    Setup &settings = setup();
    settings.Tembrs();
    m_voice = settings.Voice.get();
    if (!m_voice) {
        fail(QStringLiteral("голосовой движок недоступен"));
        return;
    }
    m_voice->Speak(QString(), speech::PurgeBeforeSpeak);

    const int listed = settings.FormatCB->currentIndex();
    const auto type = blockWaveFormat(
        settings.SSTab1->currentIndex(),
        listed >= 0 ? std::optional<int>(settings.FormatCB->itemData(listed).toInt()) : std::nullopt,
        m_voice->CurrentVoice().description);
    // A WAV file under the block's name is always whole speech: for WAV output it is the block.
    // Never through the speakers instead: a block without its file is a failed block.
    if (!m_voice->OpenOutputFile(m_speaking, type.value_or(kDefaultWaveFormat))) {
        fail(m_voice->LastError());
        return;
    }
    if (!m_voice->Speak(BlockText, speech::Async)) {
        const QString reason = m_voice->LastError();
        m_voice->CloseOutputFile();
        fail(reason);
        return;
    }
    connect(&m_poll, &QTimer::timeout, this, &BlockSpeech::poll);
    m_poll.start(kPollMs);
    current() = this;
}

BlockSpeech::~BlockSpeech()
{
    abort();
}

void BlockSpeech::poll()
{
    if (StopFlag)
        m_voice->Speak(QString(), speech::PurgeBeforeSpeak);
    else if (!m_voice->WaitUntilDone(0))
        return;
    m_poll.stop();
    spoken();
}

void BlockSpeech::spoken()
{
    // Closing gives the voice back to the speakers, after a stop as well.
    if (!m_voice->CloseOutputFile())
        return fail(m_voice->LastError());
    if (StopFlag) {
        QFile::remove(m_speaking);
        return end(true);
    }
    // Speech silenced by anything but this recording leaves a block cut short: it is never
    // kept, so the next run speaks it whole.
    if (m_voice->LastEnd() != speech::SpeechEnd::Ended)
        return fail(QStringLiteral("речь блока прервана другой командой, блок не записан. "
                                   "Запустите запись снова, чтобы дописать книгу"));
    QString reason;
    if (!encoderprocess::putInPlace(m_speaking, m_wav, &reason))
        return fail(reason);
    end(true);
}

void BlockSpeech::abort()
{
    if (!m_poll.isActive())
        return;
    m_poll.stop();
    m_voice->Speak(QString(), speech::PurgeBeforeSpeak);
    m_voice->CloseOutputFile();
    QFile::remove(m_speaking);
    end(false);
}

// Names the block's own file, once, whichever name the speech was going to; what was spoken
// under the temporary name is never left behind.
void BlockSpeech::fail(const QString &reason)
{
    QFile::remove(m_speaking);
    qCInfo(lcRecording) << "no WAV file" << m_wav << reason;
    end(false,
        textfile::failureMessage(QStringLiteral("Не удалось записать звуковой файл блока"), m_wav, reason));
}

BlockSpeech *SpeakBlockToWav(const QString &wavPath, QObject *parent)
{
    return new BlockSpeech(wavPath, parent);
}

void abortSpeaking()
{
    if (BlockSpeech *speech = current())
        speech->abort();
}
