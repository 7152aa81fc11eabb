// The editor's check tools and imports: the work is done by the functions of checktools
// and dicimport; here the list is taken, the user asked, files written and the result shown.
#include "app/busy.h"
#include "dictionaries/checktools.h"
#include "dictionaries/dicedit.h"
#include "dictionaries/import.h"
#include "platform/services/filechooser.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/speech/voice.h"
#include "platform/text/programfolder.h"
#include "platform/text/textfile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QLoggingCategory>

namespace {
Q_LOGGING_CATEGORY(lcCheckTools, "quenvale.dictionaries", QtWarningMsg)
} // namespace

// Marks a tool as running for its whole length. Questions and the event processing of the
// longer walks let the user reach the editor meanwhile; the list stays as the tool took it
// until the tool puts its result back.
class ToolRun
{
public:
    explicit ToolRun(DictionaryEditor &editor)
        : m_editor(editor), m_triggers(editor.ListView1->editTriggers())
    {
        m_editor.m_toolRunning = true;
        m_editor.ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    }
    ~ToolRun()
    {
        m_editor.ListView1->setEditTriggers(m_triggers);
        m_editor.m_toolRunning = false;
    }
    ToolRun(const ToolRun &) = delete;
    ToolRun &operator=(const ToolRun &) = delete;

    // Shows the record being examined and lets events through, at most every 50 ms so a
    // long list is not slowed down by repainting.
    void step(int number)
    {
        m_number = number;
        if (m_clock.isValid() && m_clock.elapsed() < 50)
            return;
        m_clock.start();
        m_editor.Text4->setText(QString::number(number));
        QCoreApplication::processEvents();
    }
    void showLast() const { m_editor.Text4->setText(QString::number(m_number)); }

private:
    DictionaryEditor &m_editor;
    QAbstractItemView::EditTriggers m_triggers;
    QElapsedTimer m_clock;
    int m_number = 0;
};

namespace {

void tell(const QString &text)
{
    services::prompter().ask(text, Prompter::Icon::None, Prompter::Buttons::Ok);
}

} // namespace

void DictionaryEditor::setRecords(const QStringList &records)
{
    ListView1->clear();
    appendEntries(records);
}

checktools::Ask DictionaryEditor::askEachRecord()
{
    return [this](const checktools::Offer &offer) {
        Text4->setText(QString::number(offer.number));
        if (QListWidgetItem *item = ListView1->item(offer.index))
            ListView1->scrollToItem(item);
        return services::prompter().ask(offer.question, Prompter::Icon::None, Prompter::Buttons::YesNo) ==
               Prompter::Answer::Yes;
    };
}

void DictionaryEditor::moveRecords(const QString &file, const QStringList &lines, const QStringList &rest)
{
    if (!lines.isEmpty()) {
        // The records leave the list only once they are safe in the file.
        const QString path = programfolder::file(file);
        QString reason;
        if (!textfile::appendLines(path, lines, &reason)) {
            qCWarning(lcCheckTools) << "records not moved:" << path << reason;
            services::prompter().critical(textfile::writeFailure(path, reason));
            return;
        }
    }
    setRecords(rest);
}

void DictionaryEditor::DelDublDic()
{
    if (refusesEdit())
        return;
    const checktools::Sorted result = checktools::sortAndClean(listEntries());
    setRecords(result.records);
    showCount();
    tell(result.report());
}

void DictionaryEditor::FindOverlapDic()
{
    if (m_toolRunning)
        return;
    ToolRun run(*this);
    const int selected = currentRecord();
    const auto found = checktools::findOverlap(listEntries(), selected > 0 ? selected - 1 : 0,
                                               [&run](int number) { run.step(number); });
    run.showLast();
    if (!found)
        return;
    tell(found->message());
    const QString path = programfolder::file(QStringLiteral("дублирование.txt"));
    QString reason;
    if (!textfile::appendLines(path, found->fileLines(), &reason))
        services::prompter().critical(textfile::writeFailure(path, reason));
    makeCurrent(found->record + 1);
    ListView1->scrollToItem(ListView1->item(found->record));
    QString word = found->word;
    while (word.startsWith(u' '))
        word.remove(0, 1);
    Text1->setText(word);
}

void DictionaryEditor::FindHomographDic()
{
    // Each homograph found is spoken with the dictionary's voice.
    if (refusesEdit() || busy::refuse(busy::Change::Speech))
        return;
    ToolRun run(*this);
    QStringList homographs;
    for (int i = 0; i < ListView2->count(); ++i)
        homographs.append(ListView2->item(i)->text());
    const checktools::Ask ask = askEachRecord();
    const QStringList result =
        checktools::findHomographs(listEntries(), homographs, [this, &ask](const checktools::Offer &offer) {
            // The word is heard as the engine says it now, whether or not checking is on.
            const qsizetype colon = offer.record.indexOf(u':');
            if (SelectDicVoice())
                Voice->Speak(u'(' + offer.record.left(colon + 1), speech::Async);
            return ask(offer);
        });
    setRecords(result);
}

void DictionaryEditor::SplitVariantsDic()
{
    if (refusesEdit())
        return;
    const checktools::Moved moved = checktools::moveVariants(listEntries());
    const int before = ListView1->count();
    moveRecords(QStringLiteral("DIC/разночтения.txt"), moved.fileLines, moved.records);
    if (ListView1->count() != before || moved.moved == 0)
        tell(QStringLiteral("Выполнено"));
}

void DictionaryEditor::menu2_5_Click()
{
    if (refusesEdit())
        return;
    ToolRun run(*this);
    setRecords(checktools::findInadequate(listEntries(), askEachRecord()));
}

void DictionaryEditor::FindOneSyllableDic()
{
    if (refusesEdit())
        return;
    ToolRun run(*this);
    setRecords(checktools::findOneSyllable(listEntries(), askEachRecord()));
}

void DictionaryEditor::menu2_8_Click()
{
    if (refusesEdit())
        return;
    const QStringList records = listEntries();
    const checktools::Moved moved = checktools::movePhrases(records);
    Text4->setText(QString::number(records.size()));
    moveRecords(QStringLiteral("словосочетания.txt"), moved.fileLines, moved.records);
}

void DictionaryEditor::Sel_yo_Click()
{
    if (refusesEdit())
        return;
    const checktools::Moved moved = checktools::moveYo(listEntries());
    moveRecords(QStringLiteral("Ё.txt"), moved.fileLines, moved.records);
}

void DictionaryEditor::find2_Click()
{
    if (refusesEdit())
        return;
    ToolRun run(*this);
    const QStringList result =
        checktools::findLong(listEntries(), askEachRecord(), [&run](int number) { run.step(number); });
    run.showLast();
    setRecords(result);
}

void DictionaryEditor::ImportAutoReplaceDic()
{
    if (refusesEdit())
        return;
    const QString path = services::fileChooser().openFile(
        QStringLiteral("Импортировать файл словаря Digalo2000 программ Говорилка 1.47, TomReader 2.73 и "
                       "аналогичных"),
        QStringLiteral("All Files (*);;Файл словаря ударений (*.dic) (*.dic)"), QString());
    if (path.isEmpty())
        return;
    QString reason;
    const auto fields = textfile::readFields(path, &reason);
    if (!fields) {
        services::prompter().critical(textfile::openFailure(path, reason));
        return;
    }
    const dicimport::AutoReplace result = dicimport::importAutoReplace(*fields);
    appendEntries(result.entries);
    showCount();
    tell(result.message());
}

void DictionaryEditor::ImportOldDic()
{
    if (m_toolRunning)
        return;
    const QString dicFilter = QStringLiteral("Файл словаря ударений (*.dic) (*.dic)");
    const QString path =
        services::fileChooser().openFile(QStringLiteral("Импортировать файл словаря Digalo2000 "),
                                         QStringLiteral("All Files (*);;") + dicFilter +
                                             QStringLiteral(";;Копия словаря ударений (*.bak) (*.bak)"),
                                         QString(), dicFilter);
    if (path.isEmpty())
        return;
    QString reason;
    const auto lines = textfile::readLines(path, &reason);
    if (!lines) {
        services::prompter().critical(textfile::openFailure(path, reason));
        return;
    }
    const dicimport::OldImport result = dicimport::importOld(*lines);
    // The phrase tool keeps the records it moves in the same file; they are not lost unasked.
    const auto phrases = textfile::readBytes(programfolder::file(result.phrases.file));
    if (phrases && !phrases->isEmpty() &&
        !services::prompter().confirm(
            QStringLiteral("Файл Словосочетания.txt не пуст и будет заменён. Продолжить?"),
            Prompter::Icon::Exclamation))
        return;
    const auto write = [](const dicimport::Pass &pass) {
        const QString file = programfolder::file(pass.file);
        QString why;
        if (textfile::writeLines(file, pass.lines, &why))
            return true;
        services::prompter().critical(textfile::writeFailure(file, why));
        return false;
    };
    if (write(result.single))
        tell(result.singleMessage());
    if (write(result.phrases))
        tell(result.phrasesMessage());
    if (write(result.general1) && write(result.general2))
        tell(result.generalMessage());
}
