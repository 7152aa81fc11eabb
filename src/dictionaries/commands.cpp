#include "dictionaries/commands.h"

#include "app/mainwindowport.h"
#include "app/windows.h"
#include "dictionaries/diccomparewindow.h"
#include "dictionaries/dicedit.h"
#include "platform/richtext/richtextbox.h"

namespace dictionaries {

void showDicEdit()
{
    DictionaryEditor &editor = DicEdit();
    editor.Autoload_DIC();
    appwindows::show(editor);
}

void selectionToDicEdit()
{
    MainWindowPort *main = mainwindowport::get();
    const RichTextBox *text = main ? main->editor() : nullptr;
    // A word or a short phrase only, 1 to 50 characters; anything else leaves the editor alone.
    if (!text || text->SelLength() == 0 || text->SelLength() >= 51)
        return;
    showDicEdit();
    DicEdit().PastWordDic();
}

void showDicCompare()
{
    appwindows::show(DicCompare());
}

} // namespace dictionaries
