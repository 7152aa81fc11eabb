#include "recording/monitor.h"

#include "app/windows.h"

#include <QLabel>
#include <QPointer>
#include <QStatusBar>
#include <QVBoxLayout>

Monitor::Monitor(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("monitor"));
    setWindowTitle(QStringLiteral("Quenvale"));
    auto *layout = new QVBoxLayout(this);
    layout->addStretch();
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    for (int i = 1; i <= 4; ++i) {
        auto *panel = new QLabel(StatusBar1);
        panel->setObjectName(QStringLiteral("Panel%1").arg(i));
        StatusBar1->addPermanentWidget(panel, 1);
        statusPanels.append(panel);
    }
    layout->addWidget(StatusBar1);
}

void Monitor::setStatusPanel(int panel, const QString &text)
{
    if (panel >= 1 && panel <= statusPanels.size())
        statusPanels[panel - 1]->setText(text);
}

QString Monitor::statusPanel(int panel) const
{
    return panel >= 1 && panel <= statusPanels.size() ? statusPanels[panel - 1]->text() : QString();
}

Monitor &monitor()
{
    static QPointer<Monitor> instance;
    if (!instance) {
        instance = new Monitor;
        appwindows::track(instance);
    }
    return *instance;
}
