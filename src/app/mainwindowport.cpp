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

} // namespace mainwindowport
