#include "recording/encoderwindow.h"

#include "app/toolwindow.h"
#include "app/windows.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPointer>
#include <QVBoxLayout>

EncoderWindow::EncoderWindow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("EncoderWindow"));
    setWindowTitle(QStringLiteral("Quenvale - компрессия"));
    // Shown beside the monitor without taking the focus from what the user is doing.
    setAttribute(Qt::WA_ShowWithoutActivating);
    log = new QPlainTextEdit(this);
    log->setObjectName(QStringLiteral("encoderLog"));
    log->setAccessibleName(QStringLiteral("Вывод программы сжатия"));
    log->setReadOnly(true);
    log->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    log->setMaximumBlockCount(2000);
    (new QVBoxLayout(this))->addWidget(log);
    resize(640, 260);
    keyboardreach::closeOnEscape(*this);
}

void EncoderWindow::clear()
{
    log->clear();
}

void EncoderWindow::append(const QString &text)
{
    // Progress lines end in a bare carriage return; each is shown on a line of its own.
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    log->moveCursor(QTextCursor::End);
    log->insertPlainText(lines);
    log->moveCursor(QTextCursor::End);
}

QString EncoderWindow::text() const
{
    return log->toPlainText();
}

EncoderWindow &encoderWindow()
{
    static QPointer<EncoderWindow> instance;
    return appwindows::instance(instance);
}
