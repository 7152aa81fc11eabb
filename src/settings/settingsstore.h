#pragma once

#include <QList>
#include <QString>

#include <functional>

class QWidget;

// Keeps a window's caption, geometry and tagged controls in the settings store.
//
// A control is tagged by its dynamic property "Tag": "Save" stores it in the window's
// profile section (window name + current profile) under its object name; "Save:<key>"
// stores it in the section "Shared" under <key>. A member of a control array carries
// its index in the dynamic property "Index" and is stored as "name [index]".

// Writes every key, syncs once, and reports "Невозможно сохранить настройки профиля!"
// when the store could not be written.
void SaveSettings(QWidget &window);
// Writes only `controls` of `window`, each as SaveSettings writes it, and reports the same
// way: one setting chosen on its own is stored while the window's other changes stay unsaved.
void SaveSettings(QWidget &window, const QList<QWidget *> &controls);
// Restores the stored values; a value that differs fires the control's change handler
// exactly as a user change would. Reads geometry back only for "MP3" and "Help1".
void LoadSettings(QWidget &window);

// A window whose controls are not created in the order of its design gives that
// order here; other windows are visited in the order of their child objects.
class DesignOrder
{
public:
    virtual ~DesignOrder() = default;
    virtual QList<QWidget *> controlsInDesignOrder() const = 0;
};

namespace settingsstore {

struct Entry
{
    QString section;
    QString key;
    QString value;
    bool operator==(const Entry &) const = default;
};

// What SaveSettings writes, in writing order.
QList<Entry> entriesToSave(QWidget &window, const QString &profile);
// The entries of `controls` alone, in the same order.
QList<Entry> entriesToSave(QWidget &window, const QList<QWidget *> &controls, const QString &profile);

// The value text of a control ("0"/"1" for a check box, "True"/"False" for an option
// button, ...), and the reverse; assign returns false when the control rejects the text.
// A number beyond what its control allows (a slider's range, a line edit's QIntValidator or
// QDoubleValidator) is brought to the nearest value it allows; a page that is none is refused.
QString valueText(const QWidget &control);
bool assignValue(QWidget &control, const QString &text);

// The controls visited by both operations, in visiting order.
QList<QWidget *> visitOrder(QWidget &window);
// The key of a control in its section, or empty when the control is not tagged.
QString keyOf(const QWidget &control, bool shared);

// Where the current profile's name is kept ("User1".."User4"); the settings window tells it.
// Without a source, or when it answers empty, the profile is "User1".
void setProfileSource(std::function<QString()> source);

// The store behind both operations: QSettings in INI format, "Quenvale"/"Quenvale".
QString storePath();

} // namespace settingsstore
