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

std::vector<PageLine> linesOf(Poppler::Page &page)
{
    std::vector<PageLine> lines;
    PageLine line;
    for (const std::unique_ptr<Poppler::TextBox> &word : page.textList()) {
        line.text += word->text();
        line.box = line.box.isNull() ? word->boundingBox() : line.box.united(word->boundingBox());
        if (word->nextWord()) {
            if (word->hasSpaceAfter())
                line.text += u' ';
            continue;
        }
        line.text = line.text.trimmed();
        if (!line.text.isEmpty())
            lines.push_back(line);
        line = {};
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

bool isPageNumber(const QString &text)
{
    static const QRegularExpression number(
        QStringLiteral(
            R"(^[-–—\s]*(\d+|[ivxlc]+)([-–—\s]*|\s*(из|/|of)\s*\d+)$|^(стр\.|страница|page)\s*\d+)"),
        QRegularExpression::CaseInsensitiveOption);
    return number.match(text).hasMatch();
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

bool endsBroken(const QString &line, const QString &next)
{
    if (line.size() < 2 || next.isEmpty() || !next.front().isLower())
        return false;
    const QChar last = line.back();
    return (last == u'-' || last == QChar(0x00AD) || last == QChar(0x2010)) &&
           line[line.size() - 2].isLetter();
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
    for (std::vector<PageLine> &lines : pages) {
        if (!lines.empty() && running(lines.back()))
            lines.pop_back();
        if (!lines.empty() && running(lines.front()))
            lines.erase(lines.begin());
        for (size_t i = 0; i < lines.size(); ++i) {
            heights.push_back(lines[i].box.height());
            left = std::min(left, lines[i].box.left());
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
        const bool big = line.box.height() > height * 1.2;
        const double gap = previous ? line.box.top() - previous->box.top() : 0;
        const bool samePage = gap > 0;
        if (!previous || big != heading || (samePage && gap > spacing * 1.3) ||
            line.box.left() > left + height) {
            flush();
            heading = big;
            paragraph = line.text;
        } else if (endsBroken(paragraph, line.text)) {
            // The word broken at the line's end is whole again.
            paragraph.chop(1);
            paragraph += line.text;
        } else {
            paragraph += u' ';
            paragraph += line.text;
        }
        previous = &line;
    }
    flush();
    if (progress && !progress(1000))
        return {};
    reading.text = out.text();
    reading.ok = true;
    return reading;
}

} // namespace books
