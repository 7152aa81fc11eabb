#pragma once

#include <QWidget>

class QPlainTextEdit;

// The encoder's window: the running encoder's command line and what it prints, read-only.
// The monitor's "Показывать окно компрессии" button shows it for the next encoder run.
class EncoderWindow : public QWidget
{
    Q_OBJECT
public:
    explicit EncoderWindow(QWidget *parent = nullptr);

    // A new encoder run: the text starts over.
    void clear();
    void append(const QString &text);
    QString text() const;

private:
    QPlainTextEdit *log = nullptr;
};

// The default instance, created hidden on first use.
EncoderWindow &encoderWindow();
