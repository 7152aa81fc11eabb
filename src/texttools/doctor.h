#pragma once

#include "app/toolwindow.h"
#include <QWidget>

class QAction;
class QCloseEvent;
class QGroupBox;
class QLineEdit;
class QMenuBar;
class QStatusBar;
class QToolBar;
class RichTextBox;

// "Текст-Доктор": a working copy of the main text in which single characters are shown,
// found and replaced by their Windows-1251 codes and fb2/HTML markup is stripped. Nothing
// reaches the main text or a file until one of the saves.
class TextDoctor : public ToolWindow
{
    Q_OBJECT
public:
    explicit TextDoctor(QWidget *parent = nullptr);

    // The main window's command: the working text becomes the main text, then the window shows.
    void showWithMainText();

    // Toolbar1, dispatched on the 1-based button number.
    void Toolbar1_ButtonClick(int index);
    // "Очистка": ClearFb2Tags, DelBinary and DelTags over the working text.
    void Clean();
    // "Сохранить": the main text becomes the working text, which is written to the book file
    // (or to a file chosen as in SaveAs when there is none).
    void Save();
    // "Сохранить как...": the same into a chosen file, which becomes the book file.
    void SaveAs();
    // Find, replace and find next, replace all, by the codes of the boxes.
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    // Shows the selection and its codes.
    void RefreshViewer();

    QToolBar *Toolbar1 = nullptr;
    QMenuBar *menuBar = nullptr;
    RichTextBox *RichTextBox1 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QLineEdit *Text1 = nullptr; // the selected characters
    QLineEdit *Text2 = nullptr; // their codes
    QGroupBox *Frame2 = nullptr;
    QList<QLineEdit *> findBoxes;    // Text3..Text7, "Что:"
    QList<QLineEdit *> replaceBoxes; // Text8..Text12, "Чем:"
    QStatusBar *StatusBar1 = nullptr;

private:
    QString findSequence() const;
    QString replaceSequence() const;
    // Copies the working text into the main text and writes it to `path`; false, after
    // telling the user why, when the file could not be written.
    bool saveTo(const QString &path);

    bool m_cleaning = false;
};

// The default instance, created on first use.
TextDoctor &DoctorTXT();
