#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// The abbreviations a voice would spell out letter by letter and whose reading never depends
// on the sentence (т.е., и т.д., см.): DIC/abbreviations.txt, one "abbreviation=words" a
// line, "//" starting a comment, which the user may edit.
namespace abbreviations {

struct Abbreviation
{
    QString written; // as a book writes it: "т.е.", "и др."
    QString words;   // as it is read: "то есть"

    bool operator==(const Abbreviation &) const = default;
};

// DIC/abbreviations.txt inside the program folder.
QString listFile();

// The entries of the list's lines; a line without "=" or with an empty side is passed over.
QList<Abbreviation> parse(const QStringList &lines);

// The list as the program folder holds it now; none when it cannot be read.
QList<Abbreviation> load();

// `text` with each abbreviation standing as a whole word read as its words. Case is ignored
// and a capital kept ("Т.е." is "То есть"); blanks may follow its inner full stops ("т. е.")
// and stand for its blank ("и  др."). An abbreviation that ends a sentence (a line end, the
// text's end or a capital follows) keeps its full stop; one right after a number is a unit
// ("5 см.") and is left as it is.
QString expand(QStringView text, const QList<Abbreviation> &list);

} // namespace abbreviations
