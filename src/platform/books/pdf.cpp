#include "platform/books/lines.h"
#include "platform/books/readers.h"

#include <QHash>
#include <QRegularExpression>

#include <poppler-qt6.h>

#include <algorithm>

namespace books {

namespace {

// A line of a page as Poppler lays its words out.
struct PageLine
{
    QString text;
    QRectF box;
};

// A note's mark raised above its line: a number or a star in a smaller type.
bool isNoteMark(const Poppler::TextBox &word, double lineHeight)
{
    static const QRegularExpression mark(QStringLiteral(R"(^[\d*]{1,3}$)"));
    return word.boundingBox().height() < lineHeight * 0.8 && mark.match(word.text()).hasMatch();
}

// The page's words gathered into lines by where they stand, top to bottom and left to right: a
// justified or hyphenated page comes out of the layout analysis in pieces and out of order.
std::vector<PageLine> linesOf(Poppler::Page &page)
{
    const std::vector<std::unique_ptr<Poppler::TextBox>> boxes = page.textList();
    std::vector<const Poppler::TextBox *> words;
    for (const std::unique_ptr<Poppler::TextBox> &box : boxes)
        words.push_back(box.get());
    std::sort(words.begin(), words.end(), [](const Poppler::TextBox *a, const Poppler::TextBox *b) {
        return a->boundingBox().center().y() < b->boundingBox().center().y();
    });
    std::vector<std::vector<const Poppler::TextBox *>> rows;
    double rowTop = 0;
    double rowBottom = 0;
    for (const Poppler::TextBox *word : words) {
        const QRectF box = word->boundingBox();
        const double overlap = std::min(rowBottom, box.bottom()) - std::max(rowTop, box.top());
        if (rows.empty() || overlap < std::min(box.height(), rowBottom - rowTop) * 0.5) {
            rows.emplace_back();
            rowTop = box.top();
            rowBottom = box.bottom();
        } else {
            rowTop = std::min(rowTop, box.top());
            rowBottom = std::max(rowBottom, box.bottom());
        }
        rows.back().push_back(word);
    }
    std::vector<PageLine> lines;
    for (std::vector<const Poppler::TextBox *> &row : rows) {
        std::sort(row.begin(), row.end(), [](const Poppler::TextBox *a, const Poppler::TextBox *b) {
            return a->boundingBox().left() < b->boundingBox().left();
        });
        double height = 0;
        for (const Poppler::TextBox *word : row)
            height = std::max(height, word->boundingBox().height());
        PageLine line;
        for (const Poppler::TextBox *word : row) {
            if (isNoteMark(*word, height)) {
                // The gap after the mark decides the blank, as if it were not there.
                if (!line.box.isNull())
                    line.box = line.box.united(word->boundingBox());
                continue;
            }
            if (!line.text.isEmpty() && word->boundingBox().left() - line.box.right() > height * 0.1)
                line.text += u' ';
            line.text += word->text();
            line.box = line.box.isNull() ? word->boundingBox() : line.box.united(word->boundingBox());
        }
        if (!line.text.isEmpty())
            lines.push_back(line);
    }
    return lines;
}

// A running head or foot: the same words at the top or the bottom of many pages, whatever
// their page numbers; or a page number alone.
QString runningKey(const QString &text)
{
    QString key = text;
    key.replace(QRegularExpression(QStringLiteral(R"(\d+)")), QStringLiteral("#"));
    return key.simplified();
}

// A page number alone: "12", "- 12 -", "12 из 80", "Страница 12", or a front page's "xii" (capital
// roman numerals are chapters' numbers).
bool isPageNumber(const QString &text)
{
    static const QRegularExpression number(QStringLiteral(
        R"(^[-–—\s]*(\d+|[ivxlc]+)([-–—\s]*|\s*(из|/|of)\s*\d+)$|^(?i)(стр\.|страница|page)\s*\d+$)"));
    return number.match(text).hasMatch();
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// Joins a line to the paragraph before it. A word broken by a hyphen at the line's end is whole
// again; a compound one broken at its own hyphen ("Сен-" "Жермен") keeps it.
void join(QString &paragraph, const QString &line)
{
    const qsizetype size = paragraph.size();
    const QChar last = size > 1 ? paragraph.back() : QChar();
    if ((last == u'-' || last == QChar(0x00AD) || last == QChar(0x2010)) && paragraph[size - 2].isLetter()) {
        if (line.front().isLower())
            paragraph.chop(1);
    } else if (!paragraph.isEmpty()) {
        paragraph += u' ';
    }
    paragraph += line;
}

} // namespace

Reading readPdf(const QString &path, const Progress &progress)
{
    Reading reading;
    const std::unique_ptr<Poppler::Document> document = Poppler::Document::load(path);
    if (!document) {
        reading.message = QStringLiteral("Файл %1 повреждён: PDF не читается.").arg(quoted(path));
        return reading;
    }
    if (document->isLocked()) {
        reading.message = QStringLiteral("PDF %1 защищён паролем, и прочитать его нельзя.").arg(quoted(path));
        return reading;
    }
    reading.title = document->info(QStringLiteral("Title"));
    const int pageCount = document->numPages();
    std::vector<std::vector<PageLine>> pages;
    for (int i = 0; i < pageCount; ++i) {
        const std::unique_ptr<Poppler::Page> page = document->page(i);
        pages.push_back(page ? linesOf(*page) : std::vector<PageLine>{});
        if (progress && !progress((i + 1) * 900 / std::max(pageCount, 1)))
            return {};
    }
    // Running heads and feet stand first or last on their pages.
    QHash<QString, int> edges;
    for (const std::vector<PageLine> &lines : pages) {
        if (!lines.empty()) {
            ++edges[runningKey(lines.front().text)];
            if (lines.size() > 1)
                ++edges[runningKey(lines.back().text)];
        }
    }
    const auto running = [&](const PageLine &line) {
        return isPageNumber(line.text) ||
               (pageCount > 2 && edges.value(runningKey(line.text)) * 2 >= pageCount);
    };
    std::vector<PageLine> body;
    std::vector<double> heights;
    std::vector<double> gaps;
    double left = 1e9;
    double right = 0;
    for (std::vector<PageLine> &lines : pages) {
        if (!lines.empty() && running(lines.back()))
            lines.pop_back();
        if (!lines.empty() && running(lines.front()))
            lines.erase(lines.begin());
        for (size_t i = 0; i < lines.size(); ++i) {
            heights.push_back(lines[i].box.height());
            left = std::min(left, lines[i].box.left());
            right = std::max(right, lines[i].box.right());
            if (i > 0)
                gaps.push_back(lines[i].box.top() - lines[i - 1].box.top());
        }
        body.insert(body.end(), lines.begin(), lines.end());
        body.push_back({}); // the page's end
    }
    if (heights.empty()) {
        reading.message =
            QStringLiteral("В PDF %1 нет текстового слоя: он содержит только изображения страниц "
                           "(скан). Распознайте текст другой программой и откройте результат.")
                .arg(quoted(path));
        return reading;
    }
    const double height = median(heights);
    const double spacing = median(gaps);
    Lines out;
    QStringList notes;
    QString paragraph;
    bool heading = false;
    const auto flush = [&] {
        if (heading)
            out.separate();
        out.add(paragraph);
        if (heading)
            out.separate();
        else
            out.endLine();
        paragraph.clear();
    };
    const PageLine *previous = nullptr;
    for (const PageLine &line : body) {
        if (line.text.isEmpty())
            continue; // a paragraph goes on over a page's end
        if (line.box.height() < height * 0.85) {
            // Footnotes in a smaller type, read after the text: each begins with its mark.
            if (line.text.front().isDigit() || line.text.front() == u'*')
                notes << QString();
            if (notes.isEmpty())
                notes << QString();
            join(notes.back(), line.text);
            continue;
        }
        const bool short_ = previous && previous->box.right() < right - (right - left) * 0.3;
        const bool big = line.box.height() > height * 1.2;
        const double gap = previous ? line.box.top() - previous->box.top() : 0;
        const bool samePage = gap > 0;
        if (!previous || big != heading || short_ || (samePage && gap > spacing * 1.3) ||
            line.box.left() > left + height) {
            flush();
            heading = big;
            paragraph = line.text;
        } else {
            join(paragraph, line.text);
        }
        previous = &line;
    }
    flush();
    if (!notes.isEmpty()) {
        out.separate();
        out.add(QStringLiteral("Примечания"));
        out.separate();
        for (const QString &note : notes) {
            out.add(note);
            out.endLine();
        }
    }
    if (progress && !progress(1000))
        return {};
    reading.text = out.text();
    reading.ok = true;
    return reading;
}

} // namespace books
