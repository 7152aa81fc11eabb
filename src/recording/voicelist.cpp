#include "recording/voicelist.h"

#include "app/globals.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/text/programfolder.h"
#include "recording/logging.h"
#include "recording/monitor.h"
#include "texttools/findwindow.h"
#include "texttools/replacelist.h"

bool isKaterinaVoice(const QString &voiceDescription)
{
    return voiceDescription.contains(QStringLiteral("Katerina"), Qt::CaseInsensitive);
}

QString voiceListFile(const QString &voiceDescription)
{
    // The Katerina list wins for a description that names both voices.
    if (isKaterinaVoice(voiceDescription))
        return QStringLiteral("DIC/Katerina.dic");
    if (voiceDescription.contains(QStringLiteral("Nicolai"), Qt::CaseInsensitive))
        return QStringLiteral("DIC/Nicolai.dic");
    return {};
}

void LoadVoiceDic(const QString &voiceDescription)
{
    monitor().setStage(QStringLiteral("Загрузка словаря..."));
    const QString file = voiceListFile(voiceDescription);
    if (file.isEmpty()) {
        // Said as a recording or a batch starts: nobody need be there to close it.
        services::prompter().notice(
            QStringLiteral("Для данного голосового движка нет пользовательского словаря"),
            Prompter::Icon::None);
        return;
    }
    QString reason;
    if (!Find().loadList(programfolder::file(file), &reason))
        qCInfo(lcRecording).noquote() << "replacement list" << file << "not loaded:" << reason;
}

void ApplyDictionary()
{
    const QStringList entries = Find().entries();
    BlockText = replacelist::apply(BlockText, entries);
}
