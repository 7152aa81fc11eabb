#include "app/mainwindowport.h"

namespace mainwindowport {
namespace {
MainWindowPort *current = nullptr;
}

MainWindowPort *get()
{
    return current;
}
void set(MainWindowPort *port)
{
    current = port;
}

void showHelp(const QString &page)
{
    if (current)
        current->showHelp(page);
}

} // namespace mainwindowport
