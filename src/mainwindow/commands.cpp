#include "mainwindow/commands.h"

namespace commands {
namespace {

using K = QKeySequence;
using C = busy::Change;

const MenuItem kFile[] = {
    {"OpenFile", "Открыть", K(Qt::CTRL | Qt::Key_O), {}, C::Book},
    {"zakladki", "Закладки", {}, {}},
    {"SaveFile", "Сохранить TXT", {}, {}, C::Save},
    {"SaveAs", "Сохранить TXT как...", {}, {}, C::Book},
    {"SeveRTF", "Сохранить  RTF как...", {}, {}, C::Book},
    {"ClearText", "Очистить текстовое окно", {}, {}, C::Book},
    {"linia", "", {}, {}},
    {"SaveAudio", "Записать аудиокнигу", K(Qt::CTRL | Qt::Key_A), {}, C::StartJob},
    {"InsPaket", "Добавить в пакет", {}, {}, C::Book},
    {"SavePaket", "Пакетная запись", {}, {}, C::StartJob},
    {"linia2", "", {}, {}},
    {"ExitProgramm", "ВЫХОД", K(Qt::CTRL | Qt::Key_Q), {}},
};

const MenuItem kEdit[] = {
    {"FindNewWords", "Поиск новых слов", K(Qt::Key_F3), {}, C::StartJob},
    {"FindOmograf", "Поиск омографов", K(Qt::Key_F4), {}, C::Text},
    {"FindGlava", "Поиск и выделение глав", K(Qt::Key_F5), {}},
    {"FindReplace", "Поиск/Замена", K(Qt::CTRL | Qt::Key_F), {}},
};

const MenuItem kCaptions[] = {
    {"podpisipokazat", "Показать", {}, {}},
    {"podpisiubrat", "Убрать", {}, {}},
};

const MenuItem kIcons[] = {
    {"znachki2", "крупные", {}, {}},
    {"znachki1", "мелкие", {}, {}},
};

const MenuItem kMargins[] = {
    {"onstup0", "нет", {}, {}},
    {"otstup1", "средние", {}, {}},
    {"otstup2", "большие", {}, {}},
};

const MenuItem kView[] = {
    {"SetFont", "Размер шрифта", {}, {}},         {"FonColor", "Цвет фона", {}, {}},
    {"podpisi", "Подписи кнопок", {}, kCaptions}, {"znachki", "Значки", {}, kIcons},
    {"otstup", "Поля слева", {}, kMargins},
};

// The profile submenu is filled by the profiles' own code.
const MenuItem kSettings[] = {
    {"Users", "Профили", {}, {}},
    {"Menu4_2", "Окно настроек", {}, {}},
};

const MenuItem kService[] = {
    {"menu5_1", "Библиотекарь", {}, {}},
    {"menu5_2", "Редактор словаря", {}, {}},
    {"menu5_3", "Анализ омографов", {}, {}},
    {"Dic_Compare", "Сравнение двух словарей", {}, {}},
    {"Menu2_5", "Текст-Доктор (поиск и замена ASCII кодов)", {}, {}},
    {"Play", "Чтение/Пауза", K(Qt::Key_F11), {}, C::StartJob},
    {"Stop", "Остановка", K(Qt::Key_F12), {}, C::StopSpeech},
    {"PastWord", "Выделенное - в редактор словаря", K(Qt::Key_F9), {}},
};

const MenuItem kHelp[] = {
    {"menu_6_3_1", "Описание функций кнопок", {}, {}},
    {"menu_6_3_2", "Обязательные условия", {}, {}},
    {"menu633", "Работа со словарем", {}, {}},
    {"menu634", "Работа с \"Библиотекарем\"", {}, {}},
    {"lilia", "", {}, {}},
    {"menu6_1", "О программе", {}, {}},
};

const Menu kMenuBar[] = {
    {"file", "Файл", kFile},         {"Edit", "Обработка текста", kEdit},
    {"View", "Вид", kView},          {"Settings", "Настройки", kSettings},
    {"service", "Сервис", kService}, {"menu6_3", "Помощь", kHelp},
};

const ToolbarButton kToolbar[] = {
    {1, false, "Найти", "БИБЛИОТЕКАРЬ - помощник в поиске книг", 1, "menu5_1"},
    {2, false, "Открыть", "Открыть текстовый файл", 2, "OpenFile"},
    {3, false, "Сохранить", "Сохранить текстовый файл", 3, "SaveFile"},
    {4, true, "", "", 0, ""},
    {5, false, "Запись", "Запись аудиокниги", 4, "SaveAudio"},
    {6, true, "", "", 0, ""},
    {7, false, "Чтение", "Читать текст  (F11) ", 5, "Play"},
    {8, false, "Пауза", "Пауза/Продолжить  (F11)", 11, "Pause"},
    {9, false, "Остановка", "Остановить чтение   (F12)", 6, "Stop"},
    {10, true, "", "", 0, ""},
    {11, false, "Настройки", "Настройки программы", 7, "Menu4_2"},
    {12, false, "Словарь", "Редактор словаря ударений", 8, "menu5_2"},
    {13, false, "Доктор", "Текст-Доктор (диагностика и устранение проблем)", 9, "Menu2_5"},
    {14, true, "", "", 0, ""},
};

} // namespace

std::span<const Menu> menuBar()
{
    return kMenuBar;
}

std::span<const ToolbarButton> toolbar()
{
    return kToolbar;
}

std::optional<busy::Change> changes(const QString &command)
{
    const auto find = [&command](auto &self, std::span<const MenuItem> items) -> const MenuItem * {
        for (const MenuItem &item : items) {
            if (command == QLatin1String(item.name))
                return &item;
            if (const MenuItem *inner = self(self, item.submenu))
                return inner;
        }
        return nullptr;
    };
    for (const Menu &menu : kMenuBar)
        if (const MenuItem *item = find(find, menu.items))
            return item->changes;
    return std::nullopt;
}

QString toolbarCommand(int index)
{
    for (const ToolbarButton &b : kToolbar)
        if (b.index == index)
            return QString::fromLatin1(b.command);
    return {};
}

QString toolbarButtonName(int index)
{
    return QStringLiteral("Toolbar1_%1").arg(index);
}

} // namespace commands
