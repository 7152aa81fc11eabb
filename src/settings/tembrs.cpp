#include "settings/tembrs.h"

namespace tembrs {
namespace {

const QString kClose = QStringLiteral(" </pitch> </rate> </volume>");

QString open(const Timbre &t)
{
    return QStringLiteral(" <volume level=\"%1\"> <rate absspeed=\"%2\"> <pitch absmiddle=\"%3\">")
        .arg(t.volume)
        .arg(t.rate)
        .arg(t.pitch);
}

} // namespace

Tags build(const Timbre &narration, const Timbre &dialog, const Timbre &comment)
{
    Tags tags;
    tags.start = open(narration);
    tags.narration = kClose + tags.start;
    tags.dialog = kClose + open(dialog);
    tags.comment = kClose + open(comment);
    tags.dialog2 = tags.dialog;
    return tags;
}

QString testPhrase(const Tags &tags)
{
    // The blanks at the ends of the sentences belong to them.
    return tags.start + tags.narration +
           QStringLiteral(" После того, как были сделаны все необходимые изменения решено было "
                          "проверить результат.") +
           tags.dialog + QStringLiteral(" Ну и как? Вы удовлетворены полученным результатом? ") +
           tags.comment + QStringLiteral("Сказал компьютер своим скрипучим голосом.") + tags.dialog2 +
           QStringLiteral(" Если удовлетворены, то можете сохранить настройки.") + tags.narration +
           QStringLiteral(" И после этого пользователю ничего не оставалось, как согласиться с компьютером, "
                          "потому что он знал, что с таким голосовым движком лучшего результата добиться "
                          "нельзя!");
}

} // namespace tembrs
