#include "settings/settingsstore.h"

#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/text/textfile.h"
#include "platform/text/twips.h"
#include "settings/logging.h"

#include <QAbstractSlider>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSaveFile>
#include <QScreen>
#include <QSettings>
#include <QTabWidget>
#include <QValidator>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <optional>

Q_LOGGING_CATEGORY(lcSettings, "quenvale.settings", QtWarningMsg)

namespace settingsstore {
namespace {

const QString kShared = QStringLiteral("Shared");
const QString kSaveTag = QStringLiteral("Save");
const QString kSharedPrefix = QStringLiteral("Save:");

const QString kName = QStringLiteral("(name)");
const QString kWidth = QStringLiteral("_Form Wight"); // spelled so in every stored profile
const QString kHeight = QStringLiteral("_Form Height");
const QString kTop = QStringLiteral("_Form Top");
const QString kLeft = QStringLiteral("_Form Left");

QSettings openStore()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Quenvale"),
                     QStringLiteral("Quenvale"));
}

// QSettings only says that it failed; opening the file the same way tells the system's reason.
QString unwritableReason(const QString &path)
{
    QSaveFile probe(path);
    if (!probe.open(QIODevice::WriteOnly))
        return probe.errorString();
    probe.cancelWriting();
    return QStringLiteral("файл настроек не удалось записать");
}

QString tagOf(const QWidget &w)
{
    return w.property("Tag").toString();
}

std::function<QString()> &profileSource()
{
    static std::function<QString()> source;
    return source;
}

// Every start loads "User1", so that is the profile before the settings window tells another.
QString currentProfile()
{
    const QString profile = profileSource() ? profileSource()() : QString();
    return profile.isEmpty() ? QStringLiteral("User1") : profile;
}

QString fullKey(const QWidget &w, const QString &key)
{
    const QVariant index = w.property("Index");
    return index.isValid() ? QStringLiteral("%1 [%2]").arg(key).arg(index.toInt()) : key;
}

// A window's section in the current profile: "MP3User1", "setupUser3".
QString sectionOf(const QWidget &window, const QString &profile)
{
    return window.objectName() + profile;
}

bool hasStoredGeometry(const QWidget &window)
{
    return window.objectName() == QLatin1String("MP3") || window.objectName() == QLatin1String("Help1");
}

// A window stored on a screen that is gone comes back onto the available screen.
void keepOnScreen(QWidget &window)
{
    const QRect frame = window.frameGeometry();
    for (const QScreen *screen : QGuiApplication::screens())
        if (screen->availableGeometry().intersects(frame))
            return;
    const QScreen *primary = QGuiApplication::primaryScreen();
    if (!primary)
        return;
    const QRect avail = primary->availableGeometry();
    window.resize(std::min(window.width(), avail.width()), std::min(window.height(), avail.height()));
    window.move(avail.topLeft());
}

void loadGeometry(QWidget &window, QSettings &store, const QString &section)
{
    store.beginGroup(section);
    // Each read defaults to the current value, so a missing or broken key changes nothing.
    auto read = [&](const QString &key, int currentPixels) {
        bool ok = false;
        const int value =
            store.value(key, QString::number(twips::fromPixels(currentPixels))).toString().toInt(&ok);
        return ok ? twips::toPixels(value) : currentPixels;
    };
    const int width = read(kWidth, window.width());
    const int height = read(kHeight, window.height());
    const int top = read(kTop, window.y());
    const int left = read(kLeft, window.x());
    store.endGroup();
    if (window.isMaximized() || window.isMinimized())
        return; // such a window cannot be moved or sized; the controls still load
    window.resize(std::max(width, 1), std::max(height, 1));
    window.move(left, top);
    keepOnScreen(window);
}

} // namespace

QList<QWidget *> visitOrder(QWidget &window)
{
    if (const auto *ordered = dynamic_cast<const DesignOrder *>(&window))
        return ordered->controlsInDesignOrder();
    return window.findChildren<QWidget *>();
}

QString keyOf(const QWidget &control, bool shared)
{
    const QString tag = tagOf(control);
    if (shared)
        return tag.startsWith(kSharedPrefix) ? tag.mid(kSharedPrefix.size()) : QString();
    return tag == kSaveTag ? fullKey(control, control.objectName()) : QString();
}

QString valueText(const QWidget &control)
{
    if (const auto *w = qobject_cast<const QLineEdit *>(&control))
        return w->text();
    if (const auto *w = qobject_cast<const QRadioButton *>(&control))
        return w->isChecked() ? QStringLiteral("True") : QStringLiteral("False");
    if (const auto *w = qobject_cast<const QCheckBox *>(&control))
        return w->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    if (const auto *w = qobject_cast<const QListWidget *>(&control))
        return w->currentItem() ? w->currentItem()->text() : QString();
    if (const auto *w = qobject_cast<const QComboBox *>(&control))
        return w->currentText();
    if (const auto *w = qobject_cast<const QLabel *>(&control))
        return w->text();
    if (const auto *w = qobject_cast<const QGroupBox *>(&control))
        return w->title();
    if (const auto *w = qobject_cast<const QAbstractSlider *>(&control))
        return QString::number(w->value());
    if (const auto *w = qobject_cast<const QTabWidget *>(&control))
        return QString::number(w->currentIndex());
    return {};
}

namespace {

// A number box's text brought within its validator's bounds; nothing when it is no number.
// Boxes without a number validator take any text.
std::optional<QString> fittedNumber(const QLineEdit &box, const QString &text)
{
    if (const auto *v = qobject_cast<const QIntValidator *>(box.validator())) {
        bool ok = false;
        const qint64 n = text.trimmed().toLongLong(&ok);
        if (!ok)
            return std::nullopt;
        const qint64 fitted = std::clamp<qint64>(n, v->bottom(), v->top());
        return fitted == n ? text : QString::number(fitted);
    }
    if (const auto *v = qobject_cast<const QDoubleValidator *>(box.validator())) {
        // Written in the box's locale, or with a point by hand.
        bool ok = false;
        double n = v->locale().toDouble(text.trimmed(), &ok);
        if (!ok)
            n = QLocale::c().toDouble(text.trimmed(), &ok);
        if (!ok || !std::isfinite(n))
            return std::nullopt;
        const double fitted = std::clamp(n, v->bottom(), v->top());
        return fitted == n ? text : v->locale().toString(fitted);
    }
    return text;
}

} // namespace

bool assignValue(QWidget &control, const QString &text)
{
    if (auto *w = qobject_cast<QLineEdit *>(&control)) {
        const std::optional<QString> fitted = fittedNumber(*w, text);
        if (!fitted)
            return false;
        w->setText(*fitted);
        return true;
    }
    if (auto *w = qobject_cast<QRadioButton *>(&control)) {
        const bool on =
            text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 || text == QLatin1String("-1");
        if (!on && text.compare(QLatin1String("False"), Qt::CaseInsensitive) != 0 &&
            text != QLatin1String("0"))
            return false;
        if (on == w->isChecked())
            return true;
        // An exclusive button refuses to be cleared directly; a stored "False" still clears it.
        const bool exclusive = w->autoExclusive();
        w->setAutoExclusive(false);
        w->setChecked(on);
        w->setAutoExclusive(exclusive);
        return true;
    }
    if (auto *w = qobject_cast<QCheckBox *>(&control)) {
        if (text != QLatin1String("0") && text != QLatin1String("1"))
            return false;
        w->setChecked(text == QLatin1String("1"));
        return true;
    }
    if (auto *w = qobject_cast<QListWidget *>(&control)) {
        if (text.isEmpty()) {
            w->setCurrentItem(nullptr);
            return true;
        }
        const auto found = w->findItems(text, Qt::MatchExactly);
        if (found.isEmpty())
            return false;
        w->setCurrentItem(found.first());
        return true;
    }
    if (auto *w = qobject_cast<QComboBox *>(&control)) {
        const int index = w->findText(text, Qt::MatchExactly);
        if (index >= 0) {
            w->setCurrentIndex(index);
            return true;
        }
        if (!w->isEditable())
            return false;
        w->setEditText(text);
        return true;
    }
    if (auto *w = qobject_cast<QLabel *>(&control)) {
        w->setText(text);
        return true;
    }
    if (auto *w = qobject_cast<QGroupBox *>(&control)) {
        w->setTitle(text);
        return true;
    }
    bool ok = false;
    const int number = text.toInt(&ok);
    if (auto *w = qobject_cast<QAbstractSlider *>(&control)) {
        if (!ok)
            return false;
        w->setValue(std::clamp(number, w->minimum(), w->maximum()));
        return true;
    }
    if (auto *w = qobject_cast<QTabWidget *>(&control)) {
        // A page that is none keeps the page: no page is nearer than another.
        if (!ok || number < 0 || number >= w->count())
            return false;
        w->setCurrentIndex(number);
        return true;
    }
    return false;
}

QList<Entry> entriesToSave(QWidget &window, const QString &profile)
{
    const QString section = sectionOf(window, profile);
    QList<Entry> entries;
    entries.append({section, kName, window.windowTitle()});
    if (!window.isMinimized()) {
        entries.append({section, kWidth, QString::number(twips::fromPixels(window.width()))});
        entries.append({section, kHeight, QString::number(twips::fromPixels(window.height()))});
        entries.append({section, kTop, QString::number(twips::fromPixels(window.y()))});
        entries.append({section, kLeft, QString::number(twips::fromPixels(window.x()))});
    }
    entries.append(entriesToSave(window, visitOrder(window), profile));
    return entries;
}

QList<Entry> entriesToSave(QWidget &window, const QList<QWidget *> &controls, const QString &profile)
{
    const QString section = sectionOf(window, profile);
    QList<Entry> entries;
    for (bool shared : {true, false}) {
        for (const QWidget *control : controls) {
            const QString key = keyOf(*control, shared);
            if (!key.isEmpty())
                entries.append({shared ? kShared : section, key, valueText(*control)});
        }
    }
    return entries;
}

void setProfileSource(std::function<QString()> source)
{
    profileSource() = std::move(source);
}

QString storePath()
{
    return openStore().fileName();
}

} // namespace settingsstore

using namespace settingsstore;

namespace {

void write(const QWidget &window, const QString &profile, const QList<Entry> &entries)
{
    QSettings store = openStore();
    for (const Entry &e : entries)
        store.setValue(e.section + u'/' + e.key, e.value);
    store.sync();
    // A format error only says that the file read before was garbled; the values were written.
    if (store.status() == QSettings::AccessError || !store.isWritable()) {
        const QString reason = unwritableReason(store.fileName());
        qCInfo(lcSettings).noquote() << "saving" << window.objectName() << "into" << store.fileName()
                                     << "failed:" << reason;
        services::prompter().critical(textfile::failureMessage(
            QStringLiteral("Невозможно сохранить настройки профиля!"), store.fileName(), reason));
        return;
    }
    qCInfo(lcSettings).noquote() << "saved" << entries.size() << "values of" << window.objectName()
                                 << "into profile" << profile;
}

} // namespace

void SaveSettings(QWidget &window)
{
    const QString profile = currentProfile();
    write(window, profile, entriesToSave(window, profile));
}

void SaveSettings(QWidget &window, const QList<QWidget *> &controls)
{
    const QString profile = currentProfile();
    write(window, profile, entriesToSave(window, controls, profile));
}

void LoadSettings(QWidget &window)
{
    QSettings store = openStore();
    const QString section = sectionOf(window, currentProfile());
    if (hasStoredGeometry(window))
        loadGeometry(window, store, section);
    const QList<QWidget *> controls = visitOrder(window);
    for (bool shared : {true, false}) {
        for (QWidget *control : controls) {
            const QString key = keyOf(*control, shared);
            if (key.isEmpty())
                continue;
            const QString current = valueText(*control);
            const QString stored = store.value((shared ? kShared : section) + u'/' + key, current).toString();
            if (stored != current)
                assignValue(*control, stored);
        }
    }
}
