#include "platform/text/preformat.h"

#include "platform/text/cp1251.h"

#include <QChar>

#include <algorithm>
#include <vector>

namespace preformat {
namespace {

struct Replacement
{
    QString from;
    QString to;
};

std::vector<Replacement> stepReplacements(int step)
{
    const QString cr(cp1251::chr(13));
    const QString lf(cp1251::chr(10));
    const QString blank(cp1251::chr(32));
    switch (step) {
    case 1:
        return {{cr + lf + cr + lf, cr + lf + blank}};
    case 2:
        return {{lf + lf, cr + lf + blank}};
    case 3:
        return {{cr + cr, cr + lf + blank}};
    case 4:
        return {{lf + cr, cr + lf}};
    case 5:
        return {{QStringLiteral("["), QStringLiteral(" [ ")}};
    case 6:
        return {{QStringLiteral("]"), QStringLiteral(" ] ")}};
    case 7:
        return {{QStringLiteral("("), QStringLiteral(" ( ")}};
    case 8:
        return {{QStringLiteral(")"), QStringLiteral(" ) ")}};
    case 9:
        return {{QString(cp1251::chr(160)), blank}};
    case 10:
        return {{QString(cp1251::chr(9)), blank}};
    case 11:
        return {{QString(cp1251::chr(151)), QStringLiteral("-")}};
    case 12:
        // Halving first, so the blanks put after dashes are not halved.
        return {{QStringLiteral("  "), blank}, {QStringLiteral(" -"), QStringLiteral(" - ")}};
    default:
        return {};
    }
}

// Punctuation, separators and controls have no case partners, so a needle made only of
// them matches the same either way; the exact search is several times faster.
bool caseless(QStringView needle)
{
    return std::all_of(needle.begin(), needle.end(), [](QChar c) {
        switch (c.category()) {
        case QChar::Other_Control:
        case QChar::Separator_Space:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
        case QChar::Punctuation_Connector:
        case QChar::Punctuation_Dash:
        case QChar::Punctuation_Open:
        case QChar::Punctuation_Close:
        case QChar::Punctuation_InitialQuote:
        case QChar::Punctuation_FinalQuote:
        case QChar::Punctuation_Other:
            return true;
        default:
            return false;
        }
    });
}

} // namespace

QString caption()
{
    return QStringLiteral("Подождите, идет загрузка и обработка файла ...");
}

QString replaceAll(QStringView text, QStringView from, QStringView to, Qt::CaseSensitivity cs)
{
    return replaceAll(text, from, to, cs, 0, nullptr);
}

QString replaceAll(QStringView text, QStringView from, QStringView to, Qt::CaseSensitivity cs,
                   qsizetype start, QList<qsizetype> *hits)
{
    if (hits)
        hits->clear();
    if (from.isEmpty())
        return text.toString();
    if (cs == Qt::CaseInsensitive && caseless(from))
        cs = Qt::CaseSensitive;
    qsizetype hit = text.indexOf(from, qBound<qsizetype>(0, start, text.size()), cs);
    if (hit < 0)
        return text.toString();

    QString out;
    out.reserve(text.size());
    qsizetype pos = 0;
    while (hit >= 0) {
        out.append(text.mid(pos, hit - pos));
        if (hits)
            hits->append(out.size());
        out.append(to);
        pos = hit + from.size();
        hit = text.indexOf(from, pos, cs);
    }
    out.append(text.mid(pos));
    return out;
}

bool isPreformatted(QStringView text)
{
    const QChar tab = cp1251::chr(9), noBreak = cp1251::chr(160), emDash = cp1251::chr(151);
    const auto isBreak = [](QChar c) { return c == u'\r' || c == u'\n'; };
    const auto isBracket = [](QChar c) { return c == u'[' || c == u']' || c == u'(' || c == u')'; };
    // One pass over the text as it was before step 12 widened the dashes: the blank it put
    // after each " -" (found left to right) is left out.
    QChar before;
    bool blankNeeded = false; // after a bracket
    const auto take = [&](QChar c) {
        if ((blankNeeded && c != u' ') || (isBracket(c) && before != u' '))
            return false;
        blankNeeded = isBracket(c);
        before = c;
        return true;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == tab || c == noBreak || c == emDash)
            return false;
        // Steps 1 to 4 leave no two line ends in a row but CR LF in a text whose breaks are CR LF.
        if (isBreak(c) && i > 0 && isBreak(text[i - 1]) && !(text[i - 1] == u'\r' && c == u'\n'))
            return false;
        if (!take(c))
            return false;
        if (c == u' ' && i + 1 < text.size() && text[i + 1] == u'-') {
            if (i + 2 >= text.size() || text[i + 2] != u' ' || !take(u'-'))
                return false;
            i += 2;
        }
    }
    return !blankNeeded;
}

QString applyStep(int step, QStringView text)
{
    QString result = text.toString();
    for (const Replacement &r : stepReplacements(step))
        result = replaceAll(result, r.from, r.to);
    return result;
}

Outcome run(QString text, const Hooks &hooks, Mode mode)
{
    Outcome outcome;
    outcome.text = std::move(text);
    const auto cancelled = [&hooks] { return hooks.cancelRequested && hooks.cancelRequested(); };
    const auto progressed = [&hooks](int value) {
        if (hooks.progressed)
            hooks.progressed(value);
    };

    const bool done = mode == Mode::AsNeeded && isPreformatted(outcome.text);
    for (int step = 1; step <= kStepCount; ++step) {
        if (cancelled()) {
            outcome.cancelled = true;
            return outcome;
        }
        if (!done)
            outcome.text = applyStep(step, outcome.text);
        outcome.stepsDone = step;
        progressed(step);
    }
    if (cancelled()) {
        outcome.cancelled = true;
        return outcome;
    }
    progressed(kProgressMaximum);
    return outcome;
}

} // namespace preformat
