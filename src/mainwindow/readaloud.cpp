// Reading aloud: the selection as it stands, or the text paragraph by paragraph from the
// caret, each paragraph prepared like a recorded block while the one before it sounds.
#include "app/busy.h"
#include "app/globals.h"
#include "mainwindow/bookmarkfile.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/paragraphs.h"
#include "mainwindow/reader.h"
#include "platform/richtext/richtextbox.h"
#include "platform/speech/voice.h"
#include "platform/text/docnames.h"
#include "platform/text/logging.h"
#include "recording/conversion.h"
#include "recording/textprep.h"
#include "settings/setup.h"

#include <QScrollBar>

#include <utility>

namespace {

// One poll of the voice; a stop is noticed between two polls.
constexpr int kPollMs = 10;

} // namespace

MainWindow::Reader::Reader(MainWindow &main) : m_main(main)
{
    QObject::connect(m_main.RichTextBox2, &RichTextBox::selectionChanged, &m_poll,
                     [this] { m_main.m_readingLeftAt = -1; });
    m_poll.setInterval(kPollMs);
    QObject::connect(&m_poll, &QTimer::timeout, &m_poll, [this] { poll(); });
}

void MainWindow::Reader::readSelection()
{
    m_job.emplace(busy::Job::Reading); // the editor stays locked while it runs
    m_cutter.reset();
    m_paragraph.reset();
    // Spoken as it stands: no preparation, no highlight.
    BlockText = TembrStart + m_main.RichTextBox2->SelText();
    m_main.IsReading = 1;
    if (speech::Voice *voice = m_main.readingVoice())
        voice->Speak(BlockText, SpeakFlags);
    m_poll.start();
}

void MainWindow::Reader::readParagraphs(int caret)
{
    m_job.emplace(busy::Job::Reading);
    m_main.ReadStart = caret;
    m_main.ReadEnd = caret;
    m_cutter.emplace(m_main.RichTextBox2->Text(), caret);
    prepareParagraph();
    m_poll.start();
}

void MainWindow::Reader::end()
{
    m_main.leaveReadingMark();
    m_paused = false;
    m_poll.stop();
    m_cutter.reset();
    m_paragraph.reset();
    m_job.reset();
}

void MainWindow::Reader::poll()
{
    if (m_main.IsReading == 0) {
        end();
        return;
    }
    // Without a voice there is nothing to wait for.
    speech::Voice *voice = m_main.readingVoice();
    if (voice && !voice->WaitUntilDone(0))
        return;
    if (!m_paragraph) {
        m_main.IsReading = 0;
        end();
        return;
    }
    speakParagraph();
}

// Speak, highlight, then cut and prepare the next paragraph: the preparation overlaps the
// sound, and the highlight always shows what sounds.
void MainWindow::Reader::speakParagraph()
{
    const paragraphs::Paragraph paragraph = *std::exchange(m_paragraph, std::nullopt);
    if (speech::Voice *voice = m_main.readingVoice())
        voice->Speak(TembrStart + BlockText, SpeakFlags);
    // Not the selection: a screen reader would read it again over the voice.
    m_main.RichTextBox2->setReadingMark(paragraph.start, paragraph.end - paragraph.start);
    m_main.ReadStart = m_main.ReadEnd;
    // A stop may come from what the highlight set off.
    if (running())
        prepareParagraph();
}

void MainWindow::Reader::prepareParagraph()
{
    m_paragraph = m_cutter->next(m_main.RichTextBox2->Text().size());
    if (!m_paragraph)
        return;
    m_main.ReadEnd = m_paragraph->end;
    BlockText = m_paragraph->text;
    if (!BlockText.isEmpty()) {
        setup().Tembrs();
        AnalizText(currentPrepSettings());
    }
    m_main.IsReading = 1;
}

speech::Voice *MainWindow::readingVoice() const
{
    return voiceBound ? setup().Voice.get() : Voice.get();
}

void MainWindow::releaseVoice()
{
    voiceBound = false;
    Voice.reset();
}

void MainWindow::ReadAloud()
{
    if (busy::refuse(busy::Change::StartJob))
        return;
    if (speech::Voice *voice = readingVoice())
        voice->Resume();
    BlockText.clear();
    voiceBound = true;
    setup().Tembrs();

    const int caret = RichTextBox2->SelStart();
    if (RichTextBox2->SelLength() != 0)
        m_reader->readSelection();
    else
        m_reader->readParagraphs(caret);
}

void MainWindow::Reader::pause()
{
    speech::Voice *voice = m_main.readingVoice();
    if (!running() || !voice)
        return;
    // A paused voice is not done, so the poll waits with it.
    m_paused = !m_paused;
    if (m_paused)
        voice->Pause();
    else
        voice->Resume();
}

void MainWindow::PauseReading()
{
    m_reader->pause();
}

void MainWindow::leaveReadingMark()
{
    // The caret goes to the paragraph last read, where a new reading goes on.
    const auto [start, length] = RichTextBox2->readingMark();
    if (length == 0)
        return;
    RichTextBox2->setReadingMark(0, 0);
    RichTextBox2->setSelStart(start);
    m_readingLeftAt = start; // after the caret's move, which forgets it
}

int MainWindow::bookmarkCaret() const
{
    return m_readingLeftAt >= 0 ? m_readingLeftAt : RichTextBox2->SelStart();
}

void MainWindow::StopReading()
{
    speech::Voice *voice = readingVoice();
    if (voice)
        voice->Resume();
    leaveReadingMark();
    // After a clear there is no book: its empty path would overwrite a good bookmark.
    // A bookmark that cannot be written is no reason to keep the voice talking: noted only.
    QString reason;
    if (docnames::isFilePath(bookSource()) &&
        !bookmarkfile::write(
            {bookSource(), BookTitle, bookmarkCaret(),
             textPreformatted ? bookmarkfile::Shown::Preformatted : bookmarkfile::Shown::AsFile},
            &reason))
        qCInfo(lcFiles).noquote() << "bookmark of" << BookTitle << "not written:" << reason;
    if (voice) {
        voice->Resume();
        voice->Speak(QString(), speech::Async | speech::PurgeBeforeSpeak);
    }
    releaseVoice();
    BlockText.clear();
    IsReading = 0;
    m_reader->end();
}
