// Every window as a screen reader sees it, through QAccessible: each focusable control has a
// name of its own, each tool-bar command is reached from the keyboard, each window is a window.
#include "mainwindowtest.h"

#include "dictionaries/diccomparewindow.h"
#include "dictionaries/dicedit.h"
#include "dictionaries/homographwindow.h"
#include "dictionaries/newwords.h"
#include "mainwindow/helpwindow.h"
#include "recording/encoderwindow.h"
#include "recording/monitor.h"
#include "texttools/doctor.h"
#include "texttools/findwindow.h"
#include "texttools/glavawindow.h"
#include "texttools/library.h"

#include <QAccessible>
#include <QPointer>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

// The names of the visible focusable controls under `iface`, and those without a name of
// their own (no letter, or their object name), by object name. Items of lists and tabs are
// told by their control.
void focusable(QAccessibleInterface *iface, QStringList &names, QStringList &unnamed)
{
    const QAccessible::State state = iface->state();
    if (state.focusable && !state.invisible && iface->object() && iface->object()->isWidgetType()) {
        // On Linux a combo box's name is its current text; its own name is the widget's.
        const QString name = iface->role() == QAccessible::ComboBox
                                 ? static_cast<QWidget *>(iface->object())->accessibleName()
                                 : iface->text(QAccessible::Name).trimmed();
        const QString objectName = iface->object()->objectName();
        if (std::none_of(name.begin(), name.end(), [](QChar c) { return c.isLetter(); }) ||
            name == objectName)
            unnamed << objectName + u':' + QString::number(iface->role(), 16);
        else
            names << name;
    }
    for (int i = 0; i < iface->childCount(); ++i)
        if (QAccessibleInterface *child = iface->child(i))
            focusable(child, names, unnamed);
}

// What a keyboard and screen-reader user misses in `window` as it shows now; empty when nothing.
QString findings(QWidget &window)
{
    QStringList out;
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&window);
    if (iface->role() != QAccessible::Window && iface->role() != QAccessible::Dialog)
        out << u"role "_s + QString::number(iface->role(), 16);
    QStringList names, unnamed;
    focusable(iface, names, unnamed);
    if (!unnamed.isEmpty())
        out << u"unnamed "_s + unnamed.join(u',');
    QStringList shared;
    for (const QString &name : names)
        if (names.count(name) > 1 && !shared.contains(name))
            shared << name;
    if (!shared.isEmpty())
        out << u"shared "_s + shared.join(u',');
    QStringList unreachable;
    for (QToolBar *bar : window.findChildren<QToolBar *>()) {
        if (!bar->isVisible())
            continue;
        for (QAction *action : bar->actions()) {
            const QWidget *button = bar->widgetForAction(action);
            if (action->isSeparator() || !action->isVisible() || !action->shortcut().isEmpty())
                continue;
            if (!button || !(button->focusPolicy() & Qt::TabFocus))
                unreachable << action->objectName();
        }
    }
    if (!unreachable.isEmpty())
        out << u"unreachable "_s + unreachable.join(u',');
    return out.isEmpty() ? QString() : window.objectName() + u": "_s + out.join(u"; "_s) + u'\n';
}

// The findings of `window` shown, page by page of each of its tab widgets.
QString everyPage(QWidget &window)
{
    appwindows::show(window);
    QString out = findings(window);
    for (QTabWidget *tabs : window.findChildren<QTabWidget *>()) {
        const int shown = tabs->currentIndex();
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            const QString found = findings(window);
            if (!out.contains(found))
                out += tabs->tabText(page) + u" › "_s + found;
        }
        tabs->setCurrentIndex(shown);
    }
    window.hide();
    return out;
}

using Accessibility = MainWindowTest;

// The tool windows, each by its accessor.
const std::function<QWidget &()> toolWindows[] = {
    []() -> QWidget & { return setup(); },         []() -> QWidget & { return Find(); },
    []() -> QWidget & { return glava(); },         []() -> QWidget & { return biblioteka(); },
    []() -> QWidget & { return DoctorTXT(); },     []() -> QWidget & { return DicEdit(); },
    []() -> QWidget & { return NewNames(); },      []() -> QWidget & { return Homograph(); },
    []() -> QWidget & { return DicCompare(); },    []() -> QWidget & { return Help1(); },
    []() -> QWidget & { return encoderWindow(); },
};

} // namespace

TEST_F(Accessibility, EveryWindowNamesItsControlsAndReachesItsCommands)
{
    // The tool bar's buttons take the focus, but the main window opens in the book.
    appwindows::show(*w);
    EXPECT_TRUE(w->focusWidget() && w->RichTextBox2->isAncestorOf(w->focusWidget()));
    QString found = everyPage(*w) + everyPage(monitor());
    for (const auto &window : toolWindows)
        found += everyPage(window());
    // The new-word finder's option panel, over the main window's editor.
    w->Frame2->show();
    found += everyPage(*w);
    w->Frame2->hide();
    EXPECT_EQ(found.toStdString(), "");

    // Hidden captions leave the main tool bar's names.
    triggerAction(*w, u"podpisiubrat"_s);
    EXPECT_EQ(everyPage(*w).toStdString(), "");
}

// Escape that a control leaves unused closes a tool window, as its close button does.
TEST_F(Accessibility, EscapeClosesEveryToolWindow)
{
    for (const auto &accessor : toolWindows) {
        QPointer<QWidget> window = &accessor();
        appwindows::show(*window);
        QWidget *control = nullptr;
        for (QWidget *child : window->findChildren<QWidget *>())
            if (!control && child->isVisible() && child->focusPolicy() & Qt::TabFocus &&
                !qobject_cast<QToolButton *>(child))
                control = child;
        ASSERT_TRUE(control) << window->objectName().toStdString();
        QTest::keyClick(control, Qt::Key_Escape);
        EXPECT_TRUE(!window || window->isHidden())
            << window->objectName().toStdString() << " " << control->objectName().toStdString();
    }
}
