#include "setup.h"

#include "globals.h"
#include "mainwindowport.h"
#include "services.h"
#include "speech/voice.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFormLayout>
#include <QLineEdit>

namespace {

QWidget *tagged(QWidget *w, const char *name)
{
    w->setObjectName(QString::fromLatin1(name));
    w->setProperty("Tag", QStringLiteral("Save"));
    return w;
}

} // namespace

Setup::Setup(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("setup"));
    setWindowTitle(QStringLiteral("Quenvale настройки"));

    auto *form = new QFormLayout(this);
    profil = new QLineEdit(QStringLiteral("User1"), this);
    profil->setObjectName(QStringLiteral("profil"));
    profil->hide();

    Check1 = new QCheckBox(QStringLiteral("Предупреждения"), this);
    tagged(Check1, "Check1");
    Check1->setChecked(true);
    form->addRow(Check1);

    Text28 = new QLineEdit(this);
    tagged(Text28, "Text28");
    Text28->setToolTip(QStringLiteral("Здесь укажите рабочий каталог (поиск - кнопка справа)"));
    form->addRow(QStringLiteral("рабочий каталог"), Text28);
}

Setup::~Setup() = default;

QList<QWidget *> Setup::controlsInDesignOrder() const
{
    return {Check1, Text28};
}

void Setup::formLoad()
{
    WinDrive = QStringLiteral("/");
    Voice = services::voices().create();
    LoadProfil();
}

void Setup::LoadProfil()
{
    LoadSettings(*this);
    MainWindowPort *main = mainwindowport::get();
    if (!main)
        return;
    LoadSettings(main->window());
    if (!main->applyTextView())
        return;
    main->SetStatusBar();
}

void Setup::closeEvent(QCloseEvent *event)
{
    // Closing only hides: the settings live in the controls until the program ends.
    event->ignore();
    hide();
}

namespace {
Setup *&instance()
{
    static Setup *s = nullptr;
    return s;
}
} // namespace

Setup &setup()
{
    if (!instance()) {
        // Registered before loading: the load sequence itself reads the profile name.
        instance() = new Setup;
        instance()->formLoad();
    }
    return *instance();
}

void destroySetup()
{
    delete instance();
    instance() = nullptr;
}
