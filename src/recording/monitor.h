#pragma once

#include <QWidget>

class QLabel;
class QStatusBar;

// The recording monitor: progress, remaining time and abort of a recording.
class Monitor : public QWidget
{
    Q_OBJECT
public:
    explicit Monitor(QWidget *parent = nullptr);

    // Panels of the status bar, 1-based: 2 the recording-time estimate, 3 the book's
    // size, 4 its playing time.
    void setStatusPanel(int panel, const QString &text);
    QString statusPanel(int panel) const;

    QStatusBar *StatusBar1 = nullptr;

private:
    QList<QLabel *> statusPanels;
};

// The default instance, created hidden on first use.
Monitor &monitor();
