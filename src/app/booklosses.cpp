#include "app/booklosses.h"

#include "platform/richtext/richtextbox.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"

namespace booklosses {

void tellDamaged(const RichTextBox &editor)
{
    if (const QString doubt = editor.readingDoubt(); !doubt.isEmpty())
        services::prompter().ask(doubt + QStringLiteral(" Она показана как Windows-1251; при сохранении её "
                                                        "байты останутся прежними."),
                                 Prompter::Icon::Exclamation, Prompter::Buttons::Ok);
    if (const qint64 damaged = editor.damagedBytes())
        services::prompter().ask(
            QStringLiteral("Книга прочитана как UTF-8, но повреждённых байтов в ней: %1. В "
                           "тексте они показаны знаком «\uFFFD».")
                .arg(damaged),
            Prompter::Icon::Exclamation, Prompter::Buttons::Ok);
}

bool lossAccepted(const RichTextBox &editor)
{
    // A text that reads right in no encoding keeps its bytes only while it is as it was read.
    if (editor.changedSinceRead() &&
        services::prompter().ask(
            editor.readingDoubt() + QStringLiteral(" Её текст изменён, и при сохранении её байты станут "
                                                   "другими. Сохранить?"),
            Prompter::Icon::Exclamation, Prompter::Buttons::OkCancel) != Prompter::Answer::Ok)
        return false;
    const QString text = editor.Text();
    const qsizetype lost = textcodec::unencodable(text, editor.encoding());
    const qint64 damaged = text.contains(QChar::ReplacementCharacter) ? editor.damagedBytes() : 0;
    if (lost == 0 && damaged == 0)
        return true;
    const QString question =
        lost > 0 ? QStringLiteral("Символов, которых нет в кодировке %1: %2. В файле они будут "
                                  "заменены знаком «?». Сохранить?")
                       .arg(textcodec::name(editor.encoding()))
                       .arg(lost)
                 : QStringLiteral("Повреждённых байтов UTF-8 в книге: %1. В файле они будут заменены "
                                  "знаком «\uFFFD». Сохранить?")
                       .arg(damaged);
    return services::prompter().ask(question, Prompter::Icon::Exclamation, Prompter::Buttons::OkCancel) ==
           Prompter::Answer::Ok;
}

} // namespace booklosses
