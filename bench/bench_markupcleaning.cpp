// Markup cleaning speed: "Очистка" of the text doctor on a 5 MB fb2 book made from the test
// books (a section and title per chapter, a <p> per paragraph, an <emphasis> every 20
// words, a 1 MB <binary>), against the literal passes that search the whole text again for
// every tag. The literal passes are stopped after ten minutes; their time on the book's
// first 500 KB is reported as well. `--quick` leaves out their run over the whole book.
#include "quietservices.h"
#include "markup_reference.h"
#include "platform/richtext/richtextbox.h"
#include "platform/text/textfile.h"
#include "texttools/doctor.h"
#include "texttools/markupcleaning.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr qsizetype kTextChars = 4 * 1024 * 1024;
constexpr qsizetype kBinaryChars = 1024 * 1024;
constexpr qsizetype kPrefixChars = 500 * 1024;
constexpr qint64 kLiteralLimitMs = 10 * 60 * 1000;

QString paragraph(const QString &line, int &words)
{
    QString out = QStringLiteral("<p>");
    const QStringList parts = line.split(u' ');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0)
            out += u' ';
        if (++words % 20 == 0)
            out += QStringLiteral("<emphasis>") + parts[i] + QStringLiteral("</emphasis>");
        else
            out += parts[i];
    }
    return out + QStringLiteral("</p>\r\n");
}

QString fb2Book()
{
    const QRegularExpression heading(QStringLiteral("^(ГЛАВА .*|[IVXL]+)$"));
    QList<QStringList> books;
    for (const char *name : {"kapitanskaya_dochka.txt", "pikovaya_dama.txt", "hameleon.txt"}) {
        const auto lines =
            textfile::readLines(QStringLiteral(QUENVALE_TEST_DATA_DIR "/") + QLatin1String(name));
        if (!lines) {
            std::fprintf(stderr, "cannot read %s\n", name);
            std::exit(1);
        }
        books << *lines;
    }
    QString fb2 = QStringLiteral("<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<FictionBook "
                                 "xmlns=\"http://www.gribuser.ru/xml/fictionbook/2.0\">\r\n<body>\r\n");
    int words = 0;
    while (fb2.size() < kTextChars) {
        for (const QStringList &book : books) {
            fb2 +=
                QStringLiteral("<section>\r\n<title><p>") + book.first() + QStringLiteral("</p></title>\r\n");
            for (const QString &line : book) {
                if (heading.match(line).hasMatch())
                    fb2 += QStringLiteral("</section>\r\n<section>\r\n<title><p>") + line +
                           QStringLiteral("</p></title>\r\n");
                else if (line.trimmed().isEmpty())
                    fb2 += QStringLiteral("<empty-line/>\r\n");
                else
                    fb2 += paragraph(line, words);
            }
            fb2 += QStringLiteral("</section>\r\n");
        }
    }
    fb2 += QStringLiteral("</body>\r\n<binary id=\"cover.jpg\" content-type=\"image/jpeg\">");
    const QString alphabet =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/");
    for (qsizetype i = 0; i < kBinaryChars; ++i)
        fb2 += (i % 78 == 77) ? u'\n' : (i % 78 == 76 ? u'\r' : alphabet[(i * 7) % 64]);
    return fb2 + QStringLiteral("</binary>\r\n</FictionBook>");
}

double seconds(qint64 ms)
{
    return double(ms) / 1000.0;
}

} // namespace

int main(int argc, char **argv)
{
    BenchHome home;
    QApplication app(argc, argv);
    const bool quick = app.arguments().contains(QStringLiteral("--quick"));

    const QString book = fb2Book();
    std::printf("fb2 book: %.2f MB, %lld tags\n", double(book.size()) / 1024 / 1024,
                static_cast<long long>(book.count(u'<')));

    QElapsedTimer timer;
    qint64 best = -1;
    markupcleaning::Result cleaned;
    for (int run = 0; run < 3; ++run) {
        timer.start();
        cleaned = markupcleaning::clean(book);
        const qint64 ms = timer.elapsed();
        best = best < 0 ? ms : qMin(best, ms);
    }
    std::printf("cleaning (text only), best of 3: %.3f s\n", seconds(best));

    TextDoctor doctor;
    doctor.show(); // laid out at its real size, as the user has it
    doctor.RichTextBox1->setText(book);
    QCoreApplication::processEvents();
    timer.start();
    doctor.Clean();
    const qint64 window = timer.elapsed();
    std::printf("\"Очистка\" in the window (text read, cleaned, put back): %.3f s\n", seconds(window));
    if (doctor.RichTextBox1->Text() != cleaned.text)
        std::printf("MISMATCH: the window's text differs from the cleaning's\n");
    // What of it is the editor laying the whole text out to show the caret at its end.
    doctor.RichTextBox1->setText(cleaned.text);
    QCoreApplication::processEvents();
    timer.start();
    doctor.RichTextBox1->setSelStart(cleaned.caret);
    std::printf("  of which the caret put at the end of the new text: %.3f s\n", seconds(timer.elapsed()));

    const QString prefix = book.left(kPrefixChars);
    timer.start();
    const reference::Cleaned literalPrefix = reference::clean(prefix);
    const qint64 prefixMs = timer.elapsed();
    std::printf("literal passes on the first 500 KB: %.3f s (cleaning: %s)\n", seconds(prefixMs),
                literalPrefix.text == markupcleaning::clean(prefix).text ? "same text" : "MISMATCH");

    if (quick)
        return 0;
    bool stopped = false;
    timer.start();
    const reference::Cleaned literal = reference::clean(book, [&] {
        stopped = stopped || timer.elapsed() > kLiteralLimitMs;
        return stopped;
    });
    const qint64 literalMs = timer.elapsed();
    if (stopped) {
        std::printf(
            "literal passes on the whole book: stopped after %.0f s, more than 10 minutes; ratio > %.0f\n",
            seconds(literalMs), double(literalMs) / qMax<qint64>(window, 1));
    } else {
        std::printf("literal passes on the whole book: %.3f s (%s); ratio %.0f\n", seconds(literalMs),
                    literal.text == cleaned.text ? "same text" : "MISMATCH",
                    double(literalMs) / qMax<qint64>(window, 1));
    }
    return 0;
}
