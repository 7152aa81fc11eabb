#include "texttools/doctor.h"

#include "app/bookkind.h"
#include "app/busy.h"
#include "app/globals.h"
#include "app/mainwindowport.h"
#include "app/windows.h"
#include "platform/richtext/richtextbox.h"
#include "platform/services/filechooser.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/text/docnames.h"
#include "platform/text/preformat.h"
#include "platform/text/textfile.h"
#include "texttools/doctorcodes.h"
#include "texttools/markupcleaning.h"
#include "texttools/toolwindowparts.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

using toolwindowparts::named;

constexpr int kCodeBoxes = 5;

QLineEdit *codeBox(int number)
{
    auto *box = named(new QLineEdit, QStringLiteral("Text%1").arg(number));
    box->setMaxLength(3);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    return box;
}

QLineEdit *viewerBox(const QString &name, const QString &toolTip, qreal pointSize, bool bold)
{
    auto *box = named(new QLineEdit, name);
    box->setToolTip(toolTip);
    box->setAccessibleName(toolTip);
    box->setReadOnly(true);
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    box->setFont(font);
    return box;
}

QString codesOf(const QList<QLineEdit *> &boxes)
{
    QStringList texts;
    for (const QLineEdit *box : boxes)
        texts << box->text();
    return doctorcodes::sequence(texts);
}

} // namespace

TextDoctor::TextDoctor(QWidget *parent) : ToolWindow(parent)
{
    setObjectName(QStringLiteral("DoctorTXT"));
    setWindowTitle(QStringLiteral("Текст-Доктор"));

    menuBar = named(new QMenuBar(this), QStringLiteral("menuBar"));
    QAction *help = menuBar->addAction(QStringLiteral("Помощь"));
    help->setObjectName(QStringLiteral("help2"));
    connect(help, &QAction::triggered, this, [] { mainwindowport::showHelp(QStringLiteral("Help6.rtf")); });

    Toolbar1 = named(new QToolBar(this), QStringLiteral("Toolbar1"));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    const auto button = [this](int index, const QString &name, const QString &caption, const QString &toolTip,
                               QStyle::StandardPixmap icon) {
        toolwindowparts::button(*Toolbar1, index, name, caption, toolTip, style()->standardIcon(icon),
                                [this](int clicked) { Toolbar1_ButtonClick(clicked); });
    };
    button(1, QStringLiteral("Clean"), QStringLiteral("Очистка"), QStringLiteral("Удаление тэгов fb2 и HTML"),
           QStyle::SP_DialogResetButton);
    Toolbar1->addSeparator(); // button 2: an empty gap
    button(3, QStringLiteral("Save"), QStringLiteral("Сохранить"), QStringLiteral("Сохранить изменения"),
           QStyle::SP_DialogSaveButton);
    button(4, QStringLiteral("SaveAs"), QStringLiteral("Сохранить как..."),
           QStringLiteral("Запись изменений в другой файл"), QStyle::SP_DriveFDIcon);

    RichTextBox1 = named(new RichTextBox, QStringLiteral("RichTextBox1"));
    RichTextBox1->setFieldName(QStringLiteral("Текст"));
    connect(RichTextBox1, &RichTextBox::selectionChanged, this, &TextDoctor::RefreshViewer);

    Frame1 = named(new QGroupBox(QStringLiteral("кодоскоп")), QStringLiteral("Frame1"));
    Text1 = viewerBox(QStringLiteral("Text1"), QStringLiteral("Фрагмент выделенного текста"), 27.75, false);
    Text2 = viewerBox(QStringLiteral("Text2"), QStringLiteral("Десятичные ASCII коды"), 14.25, true);
    auto *viewerLayout = new QVBoxLayout(Frame1);
    viewerLayout->addWidget(Text1);
    viewerLayout->addWidget(Text2);

    Frame2 =
        named(new QGroupBox(QStringLiteral("заменить (десятичные коды ASCII)")), QStringLiteral("Frame2"));
    auto *codes = new QGridLayout(Frame2);
    codes->addWidget(named(new QLabel(QStringLiteral("Что:")), QStringLiteral("Label1")), 0, 0);
    codes->addWidget(named(new QLabel(QStringLiteral("Чем:")), QStringLiteral("Label2")), 1, 0);
    for (int i = 0; i < kCodeBoxes; ++i) {
        findBoxes << codeBox(3 + i);
        replaceBoxes << codeBox(8 + i);
        findBoxes.last()->setAccessibleName(QStringLiteral("Что заменить: код %1").arg(i + 1));
        replaceBoxes.last()->setAccessibleName(QStringLiteral("Чем заменить: код %1").arg(i + 1));
        codes->addWidget(findBoxes.last(), 0, 1 + i);
        codes->addWidget(replaceBoxes.last(), 1, 1 + i);
    }
    const auto command = [this](int number, const QString &toolTip, QStyle::StandardPixmap icon,
                                void (TextDoctor::*handler)()) {
        auto *b = named(new QPushButton(style()->standardIcon(icon), QString()),
                        QStringLiteral("Command%1").arg(number));
        b->setToolTip(toolTip);
        b->setAccessibleName(toolTip);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    auto *commands = new QHBoxLayout;
    commands->addWidget(command(1, QStringLiteral("Найти в тексте последовательность ASCII кодов"),
                                QStyle::SP_FileDialogContentsView, &TextDoctor::Command1_Click));
    commands->addWidget(command(2, QStringLiteral("Заменить найденную последовательность ASCII кодов"),
                                QStyle::SP_ArrowRight, &TextDoctor::Command2_Click));
    commands->addWidget(command(3, QStringLiteral("Заменить по всему тексту"), QStyle::SP_BrowserReload,
                                &TextDoctor::Command3_Click));
    commands->addStretch();
    codes->addLayout(commands, 2, 0, 1, kCodeBoxes + 1);

    StatusBar1 = named(new QStatusBar, QStringLiteral("StatusBar1"));

    auto *frames = new QHBoxLayout;
    frames->addWidget(Frame1, 1);
    frames->addWidget(Frame2);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 0, 1, 0);
    layout->setMenuBar(menuBar);
    layout->addWidget(Toolbar1);
    layout->addWidget(RichTextBox1, 1);
    layout->addLayout(frames);
    layout->addWidget(StatusBar1);
    resize(760, 560);
}

void TextDoctor::showWithMainText()
{
    if (MainWindowPort *main = mainwindowport::get(); main && main->editor())
        RichTextBox1->setText(main->editor()->Text());
    appwindows::show(*this);
}

void TextDoctor::Toolbar1_ButtonClick(int index)
{
    switch (index) {
    case 1:
        Clean();
        break;
    case 3:
        Save();
        break;
    case 4:
        SaveAs();
        break;
    default:
        break;
    }
}

void TextDoctor::Clean()
{
    // The result replaces the text once at the end, so edits meanwhile would be lost: the
    // box is read-only and a second cleaning waits for the first.
    if (m_cleaning || busy::refuse(busy::Change::StartJob))
        return;
    m_cleaning = true;
    const busy::JobScope job(busy::Job::MarkupCleaning);
    const bool wasLocked = RichTextBox1->Locked();
    RichTextBox1->setLocked(true);
    const markupcleaning::Result result =
        markupcleaning::clean(RichTextBox1->Text(), [] { QCoreApplication::processEvents(); });
    RichTextBox1->setText(result.text);
    RichTextBox1->setSelStart(result.caret);
    RichTextBox1->setLocked(wasLocked);
    m_cleaning = false;
}

bool TextDoctor::saveTo(const QString &path)
{
    if (bookkind::refuseWritingOver(path))
        return false;
    const QString text = RichTextBox1->Text();
    // The main text's file keeps the encoding it was read in.
    textcodec::Encoding encoding = textcodec::Encoding::Windows1251;
    if (MainWindowPort *main = mainwindowport::get(); main && main->editor()) {
        main->editor()->setText(text);
        encoding = main->editor()->encoding();
    }
    QString reason;
    if (textfile::writeText(path, text, encoding, &reason))
        return true;
    services::prompter().critical(textfile::writeFailure(path, reason));
    return false;
}

void TextDoctor::Save()
{
    // The save puts the text into the main window: a running job keeps its book.
    if (busy::refuse(busy::Change::Text))
        return;
    // With no book file the text would go nowhere: ask where it should go.
    if (!docnames::isFilePath(CurTextPath)) {
        SaveAs();
        return;
    }
    saveTo(CurTextPath);
}

void TextDoctor::SaveAs()
{
    if (busy::refuse(busy::Change::Book))
        return;
    const docnames::FileDialogSpec dialog = docnames::saveTextDialog();
    const QString path =
        services::fileChooser().saveFile(dialog.title, dialog.filter, QString(), dialog.selectedFilter);
    if (path.isEmpty())
        return;
    // The book file moves only once the new one is written.
    if (saveTo(path))
        CurTextPath = path;
}

QString TextDoctor::findSequence() const
{
    return codesOf(findBoxes);
}

QString TextDoctor::replaceSequence() const
{
    return codesOf(replaceBoxes);
}

void TextDoctor::Command1_Click()
{
    const QString sequence = findSequence();
    if (findBoxes.first()->text().trimmed().isEmpty())
        return;
    // A line break in the sequence is CR LF, as in the text: no hit starts inside one.
    const int found = doctorcodes::find(RichTextBox1->Text(), sequence, RichTextBox1->SelStart());
    if (found >= 0) {
        RichTextBox1->setSelStart(found);
        RichTextBox1->setSelLength(int(sequence.size()));
        return;
    }
    services::prompter().critical(QStringLiteral("не найдено"));
    RichTextBox1->setSelStart(0);
}

void TextDoctor::Command2_Click()
{
    if (RichTextBox1->SelLength() > 0)
        RichTextBox1->setSelText(replaceSequence());
    RichTextBox1->setSelLength(0);
    Command1_Click();
}

void TextDoctor::Command3_Click()
{
    const QString text = RichTextBox1->Text();
    const QString replaced =
        preformat::replaceAll(text, findSequence(), replaceSequence(), Qt::CaseSensitive);
    if (replaced != text)
        RichTextBox1->setText(replaced);
}

void TextDoctor::RefreshViewer()
{
    const doctorcodes::Viewer viewer = doctorcodes::viewer(RichTextBox1->SelText());
    Text1->setText(viewer.characters);
    Text2->setText(viewer.codes);
}

TextDoctor &DoctorTXT()
{
    static QPointer<TextDoctor> instance;
    return appwindows::instance(instance);
}
