#include "dictionaries/commands.h"

#include "app/mainwindowport.h"
#include "dictionaries/diccomparewindow.h"
#include "dictionaries/dicedit.h"
#include "platform/richtext/richtextbox.h"

namespace dictionaries {

void showDicEdit()
{
    DictionaryEditor &editor = DicEdit();
    editor.Autoload_DIC();
    editor.show();
    editor.raise();
}

void selectionToDicEdit()
{
    MainWindowPort *main = mainwindowport::get();
    const RichTextBox *text = main ? main->editor() : nullptr;
    if (!text || text->SelLength() == 0 || text->SelLength() >= 51)
        return;
    showDicEdit();
    DicEdit().PastWordDic();
}

void showDicCompare()
{
    DictionaryComparer &comparer = DicCompare();
    comparer.show();
    comparer.raise();
}

} // namespace dictionaries
