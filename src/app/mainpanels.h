#pragma once

class QCheckBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QRadioButton;

// The main window's panels that the tool windows drive: the progress panel of long text
// operations and the new-word finder's option panel.
struct MainPanels
{
    QGroupBox *Frame1 = nullptr;
    QLabel *Label1 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QCheckBox *Check4 = nullptr; // ticked: the user asks to stop

    QGroupBox *Frame2 = nullptr;
    QRadioButton *Option1 = nullptr; // every word
    QRadioButton *Option2 = nullptr; // words met twice or more
    QRadioButton *Option3 = nullptr; // three times or more
    QCheckBox *Check5 = nullptr;     // ticked: go on with the search
};

// Fills the finder's option panel `panels.Frame2` with its question, options, go-on box
// and help button ("Help10.rtf" through the main window's port). There is no cancel: the
// search, once asked for, goes on.
void createFinderOptions(MainPanels &panels);
