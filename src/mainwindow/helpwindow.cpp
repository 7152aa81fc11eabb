#include "mainwindow/helpwindow.h"

#include "app/toolwindow.h"
#include "app/windows.h"
#include "mainwindow/mainwindow.h"
#include "platform/richtext/richtextbox.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/text/logging.h"
#include "platform/text/programfolder.h"
#include "platform/text/textfile.h"
#include "platform/text/twips.h"

#include <QPointer>
#include <QResizeEvent>

namespace {

// The client area of a fresh help window, in twips.
constexpr int kWidth = 5265;
constexpr int kHeight = 7545;

QPointer<HelpWindow> &instance()
{
    static QPointer<HelpWindow> w;
    return w;
}

} // namespace

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Help1"));
    setWindowTitle(QStringLiteral("Quenvale-Help"));
    setAttribute(Qt::WA_DeleteOnClose);
    keyboardreach::closeOnEscape(*this);
    RichTextBox1 = new RichTextBox(this);
    RichTextBox1->setObjectName(QStringLiteral("RichTextBox1"));
    RichTextBox1->setFieldName(QStringLiteral("Текст справки"));
    RichTextBox1->setLocked(true);
    resize(twips::toPixels(kWidth), twips::toPixels(kHeight));
}

void HelpWindow::showPage(const QString &page)
{
    const QString path = programfolder::file(QStringLiteral("HELP/") + page);
    if (RichTextBox1->LoadFile(path, RichTextBox::FileType::Rtf))
        return;
    qCInfo(lcFiles).noquote() << "help page" << path << "not loaded:" << RichTextBox1->errorString();
    RichTextBox1->setText(textfile::failureMessage(QStringLiteral("Страница справки не найдена."), path,
                                                   RichTextBox1->errorString()));
}

void HelpWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int border = twips::toPixels(2);
    RichTextBox1->setGeometry(twips::toPixels(1), RichTextBox1->y(), std::max(0, width() - border),
                              std::max(0, height() - border));
}

HelpWindow &Help1()
{
    return appwindows::instance(instance());
}

bool helpWindowExists()
{
    return !instance().isNull();
}

void showHelpPage(const QString &page)
{
    HelpWindow &help = Help1();
    help.showPage(page);
    appwindows::show(help);
}

QString aboutText()
{
    return QStringLiteral("Quenvale %1\n\n"
                          "Превращает русские тексты в аудиокниги.\n\n"
                          "Синтез речи: eSpeak NG.\n"
                          "Кодировщики: lame (MP3), oggenc (Ogg Vorbis), sox (AMR), ffmpeg (WMA), "
                          "madplay.")
        .arg(QStringLiteral(QUENVALE_VERSION));
}

void MainWindow::showHelp(const QString &page)
{
    showHelpPage(page);
}

void MainWindow::menu6_1_Click()
{
    services::prompter().ask(aboutText(), Prompter::Icon::Information, Prompter::Buttons::Ok);
}
