#pragma once

#include <QWidget>

class QStatusBar;

// The recording monitor: progress, remaining time and abort of a recording.
class Monitor : public QWidget
{
    Q_OBJECT
public:
    explicit Monitor(QWidget *parent = nullptr);

    QStatusBar *StatusBar1 = nullptr;
};

// The default instance, created hidden on first use.
Monitor &monitor();
// Deletes the default instance (the end of the program or of a test).
void destroyMonitor();
