#include "app/mainpanels.h"

#include "app/mainwindowport.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

void createFinderOptions(MainPanels &panels)
{
    QGroupBox *frame = panels.Frame2;
    auto *layout = new QGridLayout(frame);
    auto *question = new QLabel(
        QStringLiteral("Сколько раз должно встретиться слово, чтобы попасть в список незнакомых слов?"),
        frame);
    question->setObjectName(QStringLiteral("Label2"));
    question->setWordWrap(true);
    layout->addWidget(question, 0, 0, 1, 3);
    const char *names[] = {"Option1", "Option2", "Option3"};
    const QString captions[] = {QStringLiteral("Показывать ВСЕ слова"), QStringLiteral("Два и более раза"),
                                QStringLiteral("Три и более раза")};
    QRadioButton **options[] = {&panels.Option1, &panels.Option2, &panels.Option3};
    for (int i = 0; i < 3; ++i) {
        *options[i] = new QRadioButton(captions[i], frame);
        (*options[i])->setObjectName(QString::fromLatin1(names[i]));
        layout->addWidget(*options[i], i + 1, 0, 1, 3);
    }
    panels.Option1->setChecked(true);
    panels.Check5 = new QCheckBox(frame);
    panels.Check5->setObjectName(QStringLiteral("Check5"));
    panels.Check5->setToolTip(QStringLiteral("Продолжить поиск"));
    panels.Check5->setAccessibleName(panels.Check5->toolTip());
    layout->addWidget(panels.Check5, 4, 0);
    auto *help = new QPushButton(QStringLiteral("?"), frame);
    help->setObjectName(QStringLiteral("Command3"));
    help->setAccessibleName(QStringLiteral("Справка по поиску новых слов"));
    QObject::connect(help, &QPushButton::clicked,
                     [] { mainwindowport::showHelp(QStringLiteral("Help10.rtf")); });
    layout->addWidget(help, 4, 2);
    // A panel over the editor: painted, and below the toolbar.
    frame->setAutoFillBackground(true);
    frame->resize(380, 170);
    frame->move(frame->x(), 120);
}
