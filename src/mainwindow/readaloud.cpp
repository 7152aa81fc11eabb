// Reading aloud: the selection as it stands, or the text paragraph by paragraph from the
// caret, each paragraph prepared like a recorded block while the one before it sounds.
#include "app/busy.h"
#include "app/globals.h"
#include "mainwindow/bookmarkfile.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/paragraphs.h"
#include "platform/richtext/richtextbox.h"
#include "platform/speech/voice.h"
#include "platform/text/docnames.h"
#include "platform/text/logging.h"
#include "recording/conversion.h"
#include "recording/textprep.h"
#include "settings/setup.h"

#include <QCoreApplication>
#include <QScrollBar>

namespace {

// One poll of the voice; a stop is noticed between two polls.
constexpr int kPollMs = 10;

} // namespace

speech::Voice *MainWindow::readingVoice() const
{
    return voiceBound ? setup().Voice.get() : Voice.get();
}

void MainWindow::releaseVoice()
{
    voiceBound = false;
    Voice.reset();
}

MainWindow::WaitEnd MainWindow::waitForVoice()
{
    for (;;) {
        QCoreApplication::processEvents();
        if (IsReading == 0)
            return WaitEnd::Stopped;
        QCoreApplication::processEvents();
        // Without a voice there is nothing to wait for.
        speech::Voice *voice = readingVoice();
        if (!voice || voice->WaitUntilDone(kPollMs))
            return WaitEnd::Done;
    }
}

void MainWindow::ReadAloud()
{
    if (busy::refuse(busy::Change::StartJob))
        return;
    const busy::JobScope reading(busy::Job::Reading); // the editor stays locked while it runs

    if (speech::Voice *voice = readingVoice())
        voice->Resume();
    BlockText.clear();
    voiceBound = true;
    setup().Tembrs();

    const int caret = RichTextBox2->SelStart();
    if (RichTextBox2->SelLength() != 0)
        readSelection();
    else
        readParagraphs(caret);
}

void MainWindow::readSelection()
{
    // Spoken as it stands: no preparation, no highlight.
    BlockText = TembrStart + RichTextBox2->SelText();
    IsReading = 1;
    if (speech::Voice *voice = readingVoice())
        voice->Speak(BlockText, SpeakFlags);
    if (waitForVoice() == WaitEnd::Done)
        IsReading = 0;
}

void MainWindow::readParagraphs(int caret)
{
    ReadStart = caret;
    ReadEnd = caret;
    highlight = {};
    paragraphs::Cutter cutter(RichTextBox2->Text(), caret);
    // Cut and prepare the next paragraph, wait for the current one to end, speak, highlight:
    // the preparation overlaps the sound, and the highlight always shows what sounds.
    while (const auto paragraph = cutter.next(RichTextBox2->Text().size())) {
        ReadEnd = paragraph->end;
        BlockText = paragraph->text;
        if (!BlockText.isEmpty()) {
            setup().Tembrs();
            AnalizText(currentPrepSettings());
        }
        IsReading = 1;
        if (waitForVoice() == WaitEnd::Stopped || IsReading == 0)
            return;
        if (speech::Voice *voice = readingVoice())
            voice->Speak(TembrStart + BlockText, SpeakFlags);
        RichTextBox2->setSelStart(paragraph->start);
        RichTextBox2->setSelLength(paragraph->end - paragraph->start);
        highlight = {paragraph->start, RichTextBox2->SelStart(), RichTextBox2->SelLength()};
        ReadStart = ReadEnd;
    }
    if (waitForVoice() == WaitEnd::Done)
        IsReading = 0;
}

int MainWindow::bookmarkCaret() const
{
    // While the paragraph's highlight stands, the bookmark points at the paragraph itself.
    const int caret = RichTextBox2->SelStart();
    if (highlight.start >= 0 && caret == highlight.shownStart &&
        RichTextBox2->SelLength() == highlight.shownLength)
        return highlight.start;
    return caret;
}

void MainWindow::StopReading()
{
    speech::Voice *voice = readingVoice();
    if (voice)
        voice->Resume();
    // After a clear there is no book: its empty path would overwrite a good bookmark.
    // A bookmark that cannot be written is no reason to keep the voice talking: noted only.
    QString reason;
    if (docnames::isFilePath(CurTextPath) &&
        !bookmarkfile::write(
            {CurTextPath, BookTitle, bookmarkCaret(),
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
    RichTextBox2->setSelLength(0);
}
