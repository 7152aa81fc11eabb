// The real services: Qt dialogs, systemd, Qt Multimedia.
#include "platform/services/filechooser.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/services/shutdown.h"
#include "platform/services/soundplayer.h"
#include "platform/services/stylechooser.h"
#include "platform/speech/espeakvoice.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QSoundEffect>
#include <QUrl>

namespace {

const QString kTitle = QStringLiteral("Quenvale");

QMessageBox::Icon boxIcon(Prompter::Icon icon)
{
    switch (icon) {
    case Prompter::Icon::Critical:
        return QMessageBox::Critical;
    case Prompter::Icon::Question:
        return QMessageBox::Question;
    case Prompter::Icon::Exclamation:
        return QMessageBox::Warning;
    case Prompter::Icon::Information:
        return QMessageBox::Information;
    case Prompter::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QtPrompter::~QtPrompter()
{
    delete m_notice;
}

Prompter::Answer QtPrompter::ask(const QString &text, Icon icon, Buttons buttons)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(kTitle);
    box.setText(text);
    box.setIcon(boxIcon(icon));
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    return answerFor(box.exec());
}

void QtPrompter::notice(const QString &text, Icon icon)
{
    // Without a parent: the box outlives the window that was active (the monitor hides when
    // the recording ends) and stays until the user closes it.
    if (!m_notice) {
        m_notice = new QMessageBox;
        m_notice->setAttribute(Qt::WA_DeleteOnClose);
        m_notice->setWindowModality(Qt::NonModal);
        m_notice->setWindowTitle(kTitle);
        m_notice->setStandardButtons(QMessageBox::Ok);
    }
    m_notice->setIcon(boxIcon(icon));
    m_notice->setText(text);
    m_notice->show();
    m_notice->raise();
    m_notice->activateWindow();
}

QMessageBox *QtPrompter::shownNotice() const
{
    return m_notice;
}

Prompter::Answer QtPrompter::answerFor(int standardButton)
{
    switch (standardButton) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default: // Cancel, and a box closed from its title bar
        return Answer::Cancel;
    }
}

QString QtFileChooser::openFile(const QString &title, const QString &filter, const QString &folder,
                                const QString &selectedFilter)
{
    QString selected = selectedFilter;
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), title, folder, filter, &selected);
}

QString QtFileChooser::saveFile(const QString &title, const QString &filter, const QString &suggested,
                                const QString &selectedFilter)
{
    QString selected = selectedFilter;
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), title, suggested, filter, &selected);
}

QString QtFileChooser::folder(const QString &title, const QString &start)
{
    return QFileDialog::getExistingDirectory(QApplication::activeWindow(), title, start);
}

bool SystemShutdown::powerOff()
{
    return QProcess::startDetached(QStringLiteral("systemctl"), {QStringLiteral("poweroff")});
}

QtSoundPlayer::QtSoundPlayer() = default;
QtSoundPlayer::~QtSoundPlayer() = default;

void QtSoundPlayer::play(const QString &wavPath)
{
    if (!m_effect)
        m_effect = std::make_unique<QSoundEffect>();
    m_effect->setSource(QUrl::fromLocalFile(wavPath));
    m_effect->play();
}

void services::installReal()
{
    Services s;
    s.prompter = std::make_unique<QtPrompter>();
    s.fileChooser = std::make_unique<QtFileChooser>();
    s.shutdown = std::make_unique<SystemShutdown>();
    s.soundPlayer = std::make_unique<QtSoundPlayer>();
    s.voices = std::make_unique<speech::EspeakVoiceFactory>();
    s.styleChooser = std::make_unique<QtStyleChooser>();
    install(std::move(s));
}
