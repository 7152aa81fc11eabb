// The main toolbar: buttons dispatched by their 1-based index, with our own two icon sets.
#include "app/toolwindow.h"
#include "mainwindow/commands.h"
#include "mainwindow/mainwindow.h"

#include <QAction>
#include <QCheckBox>
#include <QIcon>
#include <QToolBar>

namespace {

constexpr int kLargeIcon = 48;
constexpr int kSmallIcon = 16;

// Picture `image` (1-based) of the large (1) or small (2) icon set.
QIcon toolbarImage(int imageList, int image)
{
    const int size = imageList == 2 ? kSmallIcon : kLargeIcon;
    return QIcon(QStringLiteral(":/icons/%1/%2.png").arg(size).arg(image));
}

// Runs `f(button, action)` for every toolbar button that is not a separator.
template <typename F> void eachButton(QToolBar &bar, F f)
{
    for (const commands::ToolbarButton &b : commands::toolbar())
        if (!b.separator)
            if (auto *action = bar.findChild<QAction *>(commands::toolbarButtonName(b.index)))
                f(b, *action);
}

} // namespace

static void initIconResources()
{
    // The icons live in a static library: tell the linker to keep them.
    Q_INIT_RESOURCE(icons);
}

void MainWindow::createToolbar()
{
    initIconResources();
    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    for (const commands::ToolbarButton &b : commands::toolbar()) {
        QAction *action = b.separator ? Toolbar1->addSeparator() : Toolbar1->addAction(QString());
        action->setObjectName(commands::toolbarButtonName(b.index));
        if (b.separator)
            continue;
        action->setToolTip(QString::fromUtf8(b.toolTip));
        // Each button waits for its command.
        action->setEnabled(!*b.command);
        connect(action, &QAction::triggered, this, [this, index = b.index] { Toolbar1_ButtonClick(index); });
    }
    keyboardreach::reachToolBar(*Toolbar1);
}

void MainWindow::SetPic()
{
    eachButton(*Toolbar1, [this](const commands::ToolbarButton &b, QAction &action) {
        action.setIcon(toolbarImage(imageList, b.image));
    });
    const int size = imageList == 2 ? kSmallIcon : kLargeIcon;
    Toolbar1->setIconSize(QSize(size, size));
    Form_Resize();
}

void MainWindow::znachki1_Click()
{
    imageList = 2;
    Check2->setChecked(true);
    SetPic();
}

void MainWindow::znachki2_Click()
{
    imageList = 1;
    Check2->setChecked(false);
    SetPic();
}

void MainWindow::ShowButtonCaptions()
{
    Check1->setChecked(false);
    eachButton(*Toolbar1, [](const commands::ToolbarButton &b, QAction &action) {
        action.setText(QString::fromUtf8(b.caption));
    });
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Form_Resize();
}

void MainWindow::HideButtonCaptions()
{
    Check1->setChecked(true);
    for (QAction *action : Toolbar1->actions())
        action->setText(QString());
    Toolbar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    Form_Resize();
}
