#include "app/booklosses.h"

#include "platform/richtext/richtextbox.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"

#include <QStringList>

namespace booklosses {

void tellDamaged(const RichTextBox &editor)
{
    QStringList told;
    if (const QString joined = editor.joinedParts(); !joined.isEmpty())
        told << joined;
    if (const QString doubt = editor.readingDoubt(); !doubt.isEmpty())
        told << doubt + QStringLiteral(" При сохранении её байты останутся прежними, пока текст не изменён.");
    if (!told.isEmpty())
        services::prompter().ask(told.join(u' '), Prompter::Icon::Exclamation, Prompter::Buttons::Ok);
    if (const qint64 damaged = editor.damagedBytes())
        services::prompter().ask(
            QStringLiteral("Книга прочитана как UTF-8, но повреждённых байтов в ней: %1. В "
                           "тексте они показаны знаком «\uFFFD».")
                .arg(damaged),
            Prompter::Icon::Exclamation, Prompter::Buttons::Ok);
}

bool lossAccepted(const RichTextBox &editor)
{
    // A text whose reading may be wrong, or a joined one, keeps its bytes only while it is as it
    // was read; a joined one is written whole in UTF-8.
    if (editor.changedSinceRead()) {
        const bool joined = editor.encoding() == textcodec::Encoding::Joined;
        QStringList told{joined ? editor.joinedParts() : QString(), editor.readingDoubt()};
        told.removeAll(QString());
        told << (joined
                     ? QStringLiteral("Текст книги изменён: она будет сохранена целиком в кодировке UTF-8 с "
                                      "меткой порядка байтов. Сохранить?")
                     : QStringLiteral(
                           "Её текст изменён, и при сохранении её байты станут другими. Сохранить?"));
        if (services::prompter().ask(told.join(u' '), Prompter::Icon::Exclamation,
                                     Prompter::Buttons::OkCancel) != Prompter::Answer::Ok)
            return false;
    }
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
