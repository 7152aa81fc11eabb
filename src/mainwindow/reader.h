#pragma once

#include "app/busy.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/paragraphs.h"

#include <QTimer>

#include <optional>

// A reading aloud while it runs. It goes on from a poll of the voice: once the voice has said
// what it was given, the paragraph prepared meanwhile is spoken and highlighted and the next
// one is prepared while it sounds. It holds the reading's job until it ends by itself or
// IsReading drops to 0 (a stop, the exit).
class MainWindow::Reader
{
public:
    explicit Reader(MainWindow &main);

    // The selection as it stands, or the text paragraph by paragraph from the caret.
    void readSelection();
    void readParagraphs(int caret);
    void end();
    // Pauses a running reading, or resumes a paused one.
    void pause();
    bool running() const { return m_job.has_value(); }

private:
    void poll();
    void speakParagraph();
    void prepareParagraph();

    MainWindow &m_main;
    std::optional<busy::JobScope> m_job;
    QTimer m_poll;
    std::optional<paragraphs::Cutter> m_cutter;       // none while a selection is read
    std::optional<paragraphs::Paragraph> m_paragraph; // prepared, waiting for the voice
    bool m_paused = false;
};
