// Text in and out: code pages, fields and lines, files, and the program folder.
#include "platform/text/codepages.h"
#include "platform/text/cp1251.h"
#include "platform/text/programfolder.h"
#include "platform/text/textcodec.h"
#include "platform/text/textfile.h"
#include "support/testdata.h"

#include <QCryptographicHash>
#include <QDir>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(Cp1251, EveryByteAsTheSystemCodePageAndUnmappableCharactersBecomeQuestionMarks)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = cp1251::decode(all);
    QStringDecoder system("windows-1251");
    ASSERT_TRUE(system.isValid());
    EXPECT_EQ(text, system(all));
    EXPECT_EQ(cp1251::encode(text), all);
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(cp1251::chr(b), text[b]) << b;
    EXPECT_EQ(cp1251::encode(u"a\u00E9b\u4E2D"_s), QByteArray("a?b?"));
    for (const auto &[page, name] :
         {std::pair(codepages::CodePage::Koi8r, "KOI8-R"), std::pair(codepages::CodePage::Cp866, "IBM866"),
          std::pair(codepages::CodePage::Iso88595, "ISO-8859-5"),
          std::pair(codepages::CodePage::Ibm855, "IBM855")}) {
        QStringDecoder codec(name);
        ASSERT_TRUE(codec.isValid());
        // The high half: the system's IBM code pages also swap a few ASCII controls.
        EXPECT_EQ(codepages::decode(all.sliced(128), page), QString(codec(all.sliced(128)))) << name;
        EXPECT_EQ(codepages::encode(codepages::decode(all, page), page), all) << name;
        EXPECT_EQ(codepages::encode(u"a\u00B6b\u4E2D"_s, page), QByteArray("a?b?"));
    }
}

// Bytes, the encoding found, and the damaged bytes, which read as U+FFFD when it is UTF-8;
// the text where it is given; a mixed text; the name of an encoding that is not read; a
// reading the program cannot vouch for; the encodings of a joined book's parts.
struct Detection
{
    QByteArray bytes;
    textcodec::Encoding encoding;
    qint64 damaged = 0;
    QString text = {};
    bool mixed = false;
    QString refused = {};
    bool unsure = false;
    QList<textcodec::Encoding> parts = {};
};

// Whole and byte by byte, the same answer; the characters counted are those decoded.
void expectDetected(const Detection &c)
{
    using enum textcodec::Encoding;
    EXPECT_EQ(textcodec::detect(c.bytes), c.encoding);
    textcodec::Detector byBytes;
    for (char b : c.bytes)
        byBytes.feed(QByteArrayView(&b, 1));
    const textcodec::Choice choice = byBytes.choice();
    const bool joined = c.encoding == Joined;
    // The Detector leaves a joined book's single-byte parts to choose().
    if (!joined) {
        EXPECT_EQ(std::tuple(choice.encoding, choice.mixed, choice.refused, choice.unsure),
                  std::tuple(c.encoding, c.mixed, c.refused, c.unsure));
    }
    textcodec::Choice found;
    const QString text = textcodec::decodeAsFound(c.bytes, &found);
    QList<textcodec::Encoding> parts;
    for (const textcodec::Part &part : found.parts)
        parts.append(part.encoding);
    EXPECT_EQ(std::tuple(found.encoding, found.mixed, found.refused, found.unsure, parts),
              std::tuple(c.encoding, c.mixed, c.refused, c.unsure, c.parts));
    const bool utf8 = c.encoding == Utf8 || c.encoding == Utf8WithBom;
    EXPECT_EQ(found.damaged, utf8 || c.mixed || joined ? c.damaged : 0);
    if (!c.text.isNull()) {
        EXPECT_EQ(text, c.text);
    }
    if (!c.refused.isEmpty())
        return;
    if (utf8 || c.encoding == Windows1251 || c.encoding == Windows1251WithBom) {
        EXPECT_EQ(byBytes.damaged(), c.damaged);
    }
    if (utf8) {
        EXPECT_EQ(text.count(QChar::ReplacementCharacter), c.damaged);
        EXPECT_EQ(byBytes.characters(), text.toUcs4().size());
    }
    // Every kind reads back to the bytes it came from, damage aside; a joined book is written
    // in UTF-8.
    if (joined) {
        EXPECT_EQ(textcodec::encode(text, c.encoding), "\xEF\xBB\xBF" + text.toUtf8());
    } else if (!text.contains(QChar::ReplacementCharacter)) {
        EXPECT_EQ(textcodec::encode(text, c.encoding), c.bytes);
    }
}

TEST(BookEncoding, Utf8WhenPlausibleAndHoldingALetterOutsideAsciiWithAFewDamagedBytesAtMost)
{
    using enum textcodec::Encoding;
    const QByteArray lines = u"Первая строка\r\nВторая строка\r\n"_s.toUtf8(); // 24 letters
    const QByteArray bom = "\xEF\xBB\xBF";
    const QString russian = u"Первая строка текста.\r\nВторая строка.\r\n"_s;
    const QByteArray koi8 = codepages::encode(russian, codepages::CodePage::Koi8r);
    const QByteArray cp866 = codepages::encode(russian, codepages::CodePage::Cp866);
    const QByteArray utf16le = QStringEncoder(QStringEncoder::Utf16LE)(russian);
    const QByteArray utf16be = QStringEncoder(QStringEncoder::Utf16BE)(russian);
    const Detection cases[] = {
        {"\xCA\xEE\xF2 \xE8 \xEF\xB8\xF1", Windows1251, 7}, // "Кот и пёс"
        {"\xD0\x9A\xD0\xBE\xD1\x82 \xD0\xB8 \xD0\xBF\xD1\x91\xD1\x81", Utf8},
        {"caf\xC3\xA9", Utf8},
        {"\xF0\x9D\x90\x80", Utf8}, // a letter beyond the BMP
        {"\xE0\xA4\x95", Utf8},     // "क": a three-byte form led by E0
        {bom + "plain", Utf8WithBom},
        {"plain ascii", Windows1251},
        // No letter: "—«»" is UTF-8 by its three-byte dash ("вЂ” «»" is no text), "«»" alone may be "В«В»".
        // Bytes that read as no Russian in any code page are Windows-1251, said to be unsure.
        {"\xE2\x80\x94 \xC2\xAB\xC2\xBB", Utf8},
        {"\xC2\xAB\xC2\xBB", Windows1251, 0, {}, false, {}, true},
        {"\xE2\x80\x94 \xC2\xAB\xC2\xBB\xFF", Windows1251, 1, {}, false, {}, true},
        {"\xC3\xA9\xC3", Windows1251, 1, {}, false, {}, true},             // cut off at the end
        {"\xC0\xB0\xD0\x90", Windows1251, 2, {}, false, {}, true},         // overlong
        {"\xF0\x8F\xBF\xBF", Windows1251, 4, {}, false, {}, true},         // overlong in four bytes
        {"\xED\xA0\x80\xD0\x90", Windows1251, 3, {}, false, {}, true},     // surrogate
        {"\xF4\x90\x80\x80\xD0\x90", Windows1251, 4, {}, false, {}, true}, // past U+10FFFF
        // Valid UTF-8 that reads as rare letters is a Windows-1251 text: "ПЁС— Abc." would
        // be "Ϩї Abc.", and "ОЁ ФЂ" Greek and old Cyrillic.
        {"\xCF\xA8\xD1\x97 Abc.", Windows1251},
        {"\xCE\xA8 \xD4\x80", Windows1251, 0, {}, false, {}, true},
        {"\xD0\x80\xD1\x9F", Utf8}, // "Ѐџ": the ends of the Cyrillic of today, and "Ѡ" beyond
        {"\xD1\xA0", Windows1251, 0, {}, false, {}, true},
        {u"Число π больше трёх"_s.toUtf8(), Utf8}, // a rare letter among Russian ones
        {u"Дом π"_s.toUtf8(), Utf8},               // a quarter rare at most
        {u"Ελλάδα"_s.toUtf8(), Windows1251, 0, {}, false, {}, true},
        // Plausibility weighs only a few characters: a run of 32 well-formed ones is no accident,
        // whatever the script (the last row is that bound, not a likely text).
        {u"Ελλάδα Ελλάδα Ελλάδα Ελλάδα Ελλάδα Ελλάδα"_s.toUtf8(), Utf8},
        {u"שלום עולם שלום עולם שלום עולם שלום עולם"_s.toUtf8(), Utf8},
        {QByteArray("\xCF\xA8\xD1\x97 Abc. ").repeated(15), Windows1251},
        {QByteArray("\xCF\xA8\xD1\x97 Abc. ").repeated(16), Utf8},
        // Damaged bytes, however many, fewer than a quarter of the characters outside ASCII.
        {lines + "\xFF" + lines, Utf8, 1},
        {u"Привет, мир!"_s.toUtf8() + "\xFF", Utf8, 1},
        {lines + "\xFF\xC0" + lines.left(10) + "\xE2\x80", Utf8, 4},
        {lines + lines + "\xE0\x80" + lines + lines + "\xD0", Utf8, 3}, // a cut at the end
        {lines + QByteArray(11, '\xFF') + lines, Utf8, 11},
        // More beside a run of characters: a mixed text, kept as bytes. A long run of damage
        // is a part in another encoding, read as a whole book would be: what no reading vouches
        // for is unsure.
        {lines + QByteArray(12, '\xFF') + lines, Windows1251, 12, {}, true},
        {lines + lines + cp1251::encode(u"Первая строка\r\nВторая строка\r\n"_s).repeated(2),
         Joined,
         0,
         QString::fromUtf8(lines + lines) + u"Первая строка\r\nВторая строка\r\n"_s.repeated(2),
         false,
         {},
         false,
         {Utf8, Windows1251}},
        {(lines + QByteArray(800, '\xFF')).repeated(2),
         Joined,
         0,
         {},
         false,
         {},
         true,
         {Utf8, Windows1251, Utf8, Windows1251}},
        {bom + u"Жук"_s.toUtf8() + "\xC0", Utf8WithBom, 1},
        // After the mark, damage up to a byte a character: the mark is no accident.
        {bom + u"Жук"_s.toUtf8() + "\xC0\xC0", Utf8WithBom, 2},
        {bom + "\xCF\xA8\xD1\x97 Abc.", Utf8WithBom},
        // A Windows-1251 text behind the mark is Windows-1251, and the mark is no text.
        {bom + cp1251::encode(u"Первая строка текста.\r\nВторая строка.\r\n"_s), Windows1251WithBom, 30,
         u"Первая строка текста.\r\nВторая строка.\r\n"_s},
        {bom + "\xFF", Windows1251WithBom, 1, u"я"_s, false, {}, true},
        {bom + "First line\r\nSecond \xFF line\r\n\xC0", Windows1251WithBom, 2, {}, false, {}, true},
        {bom + QByteArray(1001, '\xFF'), Windows1251WithBom, 1001, {}, false, {}, true},
        // Only the first mark is no text.
        {bom + bom + u"Ж"_s.toUtf8(), Utf8WithBom},
        {"\xD0\x96" + bom, Utf8},
        // Well-formed UTF-8 with no damaged byte is UTF-8, beside a rare letter too, and never mixed.
        {u"≈ҿ"_s.toUtf8(), Utf8},
        {u"——ҿ"_s.toUtf8(), Utf8},
        {u"x≈@ҿр"_s.toUtf8(), Utf8},
        {QString(32, QChar(0x8F)).toUtf8(), Utf8},
        {QString(40, u'«').toUtf8(), Utf8},
        // Behind the mark, a code page other than Windows-1251 is the one part of a joined book.
        {bom + koi8, Joined, {}, russian, false, {}, false, {Koi8r}},
        // The other code pages, and UTF-16 by its mark; a few letters tell by their words, if at all.
        {koi8, Koi8r, {}, russian},
        {cp866, Cp866, {}, russian},
        {"\xFF\xFE" + utf16le, Utf16Le, {}, russian},
        {"\xFE\xFF" + utf16be, Utf16Be, {}, russian},
        {"\xFF\xFE" + utf16le + "\x21", Utf16Le, {}, russian + u"\uFFFD"_s},
        {"\xFF\xFE", Utf16Le, {}, u""_s}, // the mark alone is an empty text
        {"\xFE\xFF", Utf16Be, {}, u""_s},
        {"ab\xFF\xFE" + utf16le, Windows1251, 2, {}, false, {}, true},
        {utf16le, Windows1251, 0, {}, false, {}, true},
        {codepages::encode(u"Да."_s, codepages::CodePage::Koi8r), Koi8r, 0, u"Да."_s},
        {"\xA8\xE6", Windows1251, 2, u"Ёж"_s},
        {"\xCF\xD0\xC8\xC2\xC5\xD2", Windows1251, 6, u"ПРИВЕТ"_s},
        // A line in capitals, which the library takes for KOI8-R: its words tell.
        {cp1251::encode(u"НЕ ВСЕ ЙОГУРТЫ ОДИНАКОВО ПОЛЕЗНЫ"_s), Windows1251, 28},
        {codepages::encode(u"НЕ ВСЕ ЙОГУРТЫ ОДИНАКОВО ПОЛЕЗНЫ"_s, codepages::CodePage::Koi8r), Koi8r},
        {codepages::encode(u"НЕ ВСЕ ЙОГУРТЫ ОДИНАКОВО ПОЛЕЗНЫ"_s, codepages::CodePage::Cp866), Cp866},
        // A few letters: the words decide when Windows-1251 reads as no ordinary Russian, and
        // capitals that no reading knows stay Windows-1251, said to be unsure.
        {QStringEncoder("KOI8-R")(u"Конец - телу венец"_s), Koi8r, {}, u"Конец - телу венец"_s},
        {QStringEncoder("IBM866")(u"Конец - телу венец"_s), Cp866, {}, u"Конец - телу венец"_s},
        {cp1251::encode(u"ЦЕРКОВНОСЛАВЯНСКИЙ; СТАРОСЛАВЯНСКИЙ; ОБЩЕСЛАВЯНСКИЙ"_s),
         Windows1251,
         47,
         {},
         false,
         {},
         true},
        // Encodings the detector names, or the words recognise, that the program does not read.
        {QStringEncoder("ISO-8859-5")(russian), Windows1251, {}, {}, false, u"ISO-8859-5"_s},
        {QStringEncoder("ISO-8859-5")(russian.toUpper()), Windows1251, {}, {}, false, u"ISO-8859-5"_s},
        {QStringEncoder("IBM855")(russian), Windows1251, {}, {}, false, u"IBM855"_s},
        {QStringEncoder("IBM855")(russian.toUpper()), Windows1251, {}, {}, false, u"IBM855"_s},
        {QStringEncoder("UTF-32LE")(u"\uFEFF"_s + russian), Windows1251, {}, {}, false, u"UTF-32"_s},
    };
    for (const Detection &c : cases) {
        SCOPED_TRACE(c.bytes.toHex().toStdString());
        expectDetected(c);
    }
    EXPECT_EQ(textcodec::decode(bom + "\xD0\x96", Utf8WithBom), u"Ж"_s);
    EXPECT_EQ(textcodec::decode(bom + bom + "\xD0\x96", Utf8WithBom), u"\uFEFFЖ"_s);
    const QString mixed = u"Ёж? café 中 😀"_s;
    EXPECT_EQ(std::tuple(textcodec::unencodable(mixed, Windows1251), textcodec::unencodable(mixed, Utf8),
                         textcodec::unencodable(mixed, Koi8r), textcodec::unencodable(mixed, Utf16Be)),
              std::tuple(qsizetype(3), qsizetype(0), qsizetype(3), qsizetype(0)));
    // A UTF-8 text saved reads as UTF-8 again: one with only a rare letter gets the mark.
    EXPECT_EQ(textcodec::encode(u"α---"_s, Utf8), bom + u"α---"_s.toUtf8());
    EXPECT_EQ(textcodec::encode(u"Ёж"_s, Utf8), u"Ёж"_s.toUtf8());
}

// The books of the tests in their own code page, in KOI8-R and cp866 (what these lack read
// as "?"), in UTF-16 with either mark, in UTF-8 with or without the mark, and UTF-8 copies
// with a stray byte every 20,000 and every 200 (past a thousand in a novel). In ISO-8859-5 and
// IBM855 each is refused, in capitals and with a head in capitals too: never shown silently.
TEST(BookEncoding, EveryBookOfTheTestsReadsInTheEncodingItWasWrittenIn)
{
    using enum textcodec::Encoding;
    for (const char *name : {"everyday_prose.txt", "hameleon.txt", "kapitanskaya_dochka.txt",
                             "pikovaya_dama.txt", "tihiy_dom.fb2"}) {
        SCOPED_TRACE(name);
        const QString text = testdata::text(QString::fromLatin1(name));
        EXPECT_EQ(textcodec::detect(cp1251::encode(text)), Windows1251);
        std::vector<Detection> cases = {{text.toUtf8(), Utf8}, {"\xEF\xBB\xBF" + text.toUtf8(), Utf8WithBom}};
        for (const qsizetype every : {20000, 200}) {
            QByteArray damaged = text.toUtf8();
            qint64 strays = 0;
            for (qsizetype at = damaged.size() - 1; at > 0; at -= every, ++strays) {
                while ((damaged[at] & 0xC0) == 0x80)
                    --at;
                damaged.insert(at, '\xFF');
            }
            cases.push_back({damaged, Utf8, strays});
        }
        for (const auto &[page, encoding] :
             {std::pair(codepages::CodePage::Koi8r, Koi8r), std::pair(codepages::CodePage::Cp866, Cp866)}) {
            const QByteArray bytes = codepages::encode(text, page);
            cases.push_back({bytes, encoding, 0, codepages::decode(bytes, page)});
        }
        for (const auto encoding : {Utf16Le, Utf16Be})
            cases.push_back({textcodec::encode(text, encoding), encoding, 0, text});
        // A book's title page in capitals, which the detector library alone misreads.
        if (!QString::fromLatin1(name).endsWith(u".fb2")) {
            const QString titled =
                u"ПИКОВАЯ ДАМА. ПОВЕСТЬ\r\n\r\nСОБРАНИЕ СОЧИНЕНИЙ. ТОМ ПЯТЫЙ. МОСКВА, 1960\r\n\r\n"_s
                    .repeated(6) +
                text;
            EXPECT_EQ(textcodec::detect(cp1251::encode(titled)), Windows1251);
            for (const auto &[page, encoding] : {std::pair(codepages::CodePage::Koi8r, Koi8r),
                                                 std::pair(codepages::CodePage::Cp866, Cp866)}) {
                const QByteArray bytes = codepages::encode(titled, page);
                cases.push_back({bytes, encoding, 0, codepages::decode(bytes, page)});
            }
        }
        // With its head in capitals (a title page, a table of contents), which the library
        // takes for another code page, each still reads as itself: by its words.
        for (const qsizetype head : {512, 1024, 2048, 4096, 8192}) {
            const QString capitals = text.left(head).toUpper() + text.mid(head);
            for (const auto &[page, encoding] : {std::pair(codepages::CodePage::Koi8r, Koi8r),
                                                 std::pair(codepages::CodePage::Cp866, Cp866)}) {
                const QByteArray bytes = codepages::encode(capitals, page);
                cases.push_back({bytes, encoding, 0, codepages::decode(bytes, page)});
            }
            SCOPED_TRACE(head);
            EXPECT_EQ(textcodec::detect(cp1251::encode(capitals)), Windows1251);
        }
        for (const auto &[page, refused] : {std::pair(codepages::CodePage::Iso88595, u"ISO-8859-5"_s),
                                            std::pair(codepages::CodePage::Ibm855, u"IBM855"_s)})
            for (const QString &variant : {text, text.toUpper(), text.left(4096).toUpper() + text.mid(4096)})
                cases.push_back({codepages::encode(variant, page), Windows1251, 0, {}, false, refused});
        for (const Detection &c : cases)
            expectDetected(c);
    }
    // A list in capitals whose KOI8-R reading knows far more words than any other, though far
    // from a quarter of them (the rest read backwards, as no list knows them); in cp866 with a
    // head in capitals.
    QStringList words;
    for (const QString &word : testdata::text(u"kapitanskaya_dochka.txt"_s).split(u' ', Qt::SkipEmptyParts))
        if (words.size() < 3000 && !words.contains(word))
            words.append(word);
    for (qsizetype i = 0; i < words.size(); ++i)
        if (i % 6)
            std::reverse(words[i].begin(), words[i].end());
    const QString list = words.join(u"\r\n"_s).toUpper();
    const QString headed = words.mid(0, 300).join(u"\r\n"_s);
    for (const auto &[bytes, encoding, page] :
         {std::tuple(codepages::encode(list, codepages::CodePage::Koi8r), Koi8r, codepages::CodePage::Koi8r),
          std::tuple(codepages::encode(headed.left(2048).toUpper() + headed.mid(2048), codepages::CodePage::Cp866),
                     Cp866, codepages::CodePage::Cp866)})
        expectDetected({bytes, encoding, 0, codepages::decode(bytes, page)});
    // Stretches of cp866 prose whose first 4 KB the library takes for UTF-8, the second even
    // at 32 KB: the UTF-8 rule refused them, so that is no answer.
    const QByteArray cp866 =
        codepages::encode(testdata::text(u"kapitanskaya_dochka.txt"_s), codepages::CodePage::Cp866);
    for (const qsizetype at : {94646, 40922}) {
        const QByteArray bytes = cp866.mid(at, 65536);
        expectDetected({bytes, Cp866, 0, codepages::decode(bytes, codepages::CodePage::Cp866)});
    }
}

// A book joined from parts in different encodings is read part by part in either order, each
// single-byte part chosen as a whole book's would be; stray bytes in a UTF-8 part are damage as
// ever. Three French sentences in Latin-1 inside a UTF-8 book are such a part, which no reading
// vouches for. The line reader of a recording, a library preview and a count read it alike.
TEST(BookEncoding, JoinedBooksAreReadPartByPart)
{
    using enum textcodec::Encoding;
    const QString hameleon = testdata::text(u"hameleon.txt"_s);
    const QString pikovaya = testdata::text(u"pikovaya_dama.txt"_s);
    const QString novel = testdata::text(u"kapitanskaya_dochka.txt"_s);
    const QString preface = novel.left(1300) + u"\r\n"_s;
    QByteArray stray = pikovaya.toUtf8();
    stray.insert(stray.indexOf("\r\n"), '\xFF');
    const QString french = u"À Noël, l'élève âgée révéla à sa sœur ému: «Ça côtoie l'été!» Où êtes-vous, "
                           u"très chère Hélène? Déjà, là-bas, près du lycée, fûmes-nous égarés à côté du "
                           u"théâtre; l'épée brisée gît là.\r\n"_s.replace(u'œ', u'o');
    const QByteArray latin1 = french.toLatin1();
    ASSERT_GE(std::count_if(latin1.begin(), latin1.end(), [](char c) { return c & 0x80; }), 32);
    const QString head = novel.left(20000), tail = novel.mid(20000, 20000);
    const QByteArray koi8 = codepages::encode(hameleon, codepages::CodePage::Koi8r);
    const QByteArray bom = "\xEF\xBB\xBF";
    const Detection cases[] = {
        {cp1251::encode(preface) + novel.toUtf8(),
         Joined,
         0,
         preface + novel,
         false,
         {},
         false,
         {Windows1251, Utf8}},
        {cp1251::encode(hameleon) + stray, Joined, 1, {}, false, {}, false, {Windows1251, Utf8}},
        {stray + cp1251::encode(hameleon), Joined, 1, {}, false, {}, false, {Utf8, Windows1251}},
        {bom + pikovaya.toUtf8() + cp1251::encode(hameleon),
         Joined,
         0,
         pikovaya + hameleon,
         false,
         {},
         false,
         {Utf8, Windows1251}},
        {pikovaya.toUtf8() + koi8,
         Joined,
         0,
         pikovaya + codepages::decode(koi8, codepages::CodePage::Koi8r),
         false,
         {},
         false,
         {Utf8, Koi8r}},
        {head.toUtf8() + latin1 + tail.toUtf8(),
         Joined,
         0,
         head + cp1251::decode(latin1) + tail,
         false,
         {},
         true,
         {Utf8, Windows1251, Utf8}},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(u"joined.txt"_s);
    for (const Detection &c : cases) {
        SCOPED_TRACE(c.bytes.left(40).toHex().toStdString());
        expectDetected(c);
        const textcodec::Choice choice = textcodec::choose(c.bytes);
        const QString text = textcodec::decode(c.bytes, choice);
        ASSERT_TRUE(textfile::writeBytes(path, c.bytes));
        textfile::LineReader reader(path, textfile::LineEnds::Any);
        QStringList lines;
        while (const auto line = reader.next())
            lines.append(*line);
        EXPECT_EQ(lines, textfile::splitLines(text, textfile::LineEnds::Any));
        EXPECT_EQ(reader.doubt(), textcodec::doubt(choice));
        // A head leaves out a character cut at its end, whatever part it falls into.
        for (const qint64 size : {2999, 3000, 3001}) {
            const QString head = textfile::readHead(path, size).value();
            EXPECT_TRUE(head.size() > 1000 && text.startsWith(head)) << size;
        }
        EXPECT_EQ(textfile::bookCharacters(path), text.size());
    }
    EXPECT_EQ(
        textcodec::joinedText(textcodec::choose(pikovaya.toUtf8() + koi8)),
        u"Книга составлена из частей в разных кодировках (UTF-8, KOI8-R): каждая часть прочитана в своей."_s);
    EXPECT_EQ(textcodec::doubt(textcodec::choose(head.toUtf8() + latin1 + tail.toUtf8())),
              u"Кодировку части книги не удалось распознать: эта часть прочитана как Windows-1251."_s);
}

// Fields: an open quote ends with its line and swallows nothing after it. Lines: a book ends them
// with CR LF or a lone CR; a list edited elsewhere with LF as well, which its fields follow.
TEST(TextInput, FieldsAndLinesOfBooksAndLists)
{
    const std::pair<QString, QStringList> fields[] = {
        {u"a,b,c\r\nd"_s, {"a", "b", "c", "d"}},
        {u"a\r\n\r\nb\r\n"_s, {"a", "", "b"}},
        {u" x , y"_s, {" x ", " y"}},
        {u"\"a,b\",c"_s, {"a,b", "c"}},
        {u" \"a\" tail,c"_s, {"a", "c"}},
        {u"\"a,b\r\nc,d"_s, {"a,b", "c", "d"}},
        {u"a,\r\n"_s, {"a", ""}},
        {u"a,b\nc\rd\n"_s, {"a", "b", "c", "d"}},
        {QString(), {}},
    };
    for (const auto &[text, expected] : fields)
        EXPECT_EQ(textfile::splitFields(text), expected) << qPrintable(text);
    const std::tuple<QString, QStringList, QStringList> lines[] = {
        {u"a\r\nb\r\n"_s, {"a", "b"}, {"a", "b"}},   {u"a\r\nb"_s, {"a", "b"}, {"a", "b"}},
        {u"a\rb"_s, {"a", "b"}, {"a", "b"}},         {u"a\nb\r\n"_s, {"a\nb"}, {"a", "b"}},
        {u"a\nb\n"_s, {"a\nb\n"}, {"a", "b"}},       {u"a\r\n\r\n"_s, {"a", ""}, {"a", ""}},
        {u"a\n\n"_s, {"a\n\n"}, {"a", ""}},          {u"\r\n"_s, {""}, {""}},
        {u"a\n\rb"_s, {"a\n", "b"}, {"a", "", "b"}}, {QString(), {}, {}},
    };
    for (const auto &[text, book, list] : lines) {
        EXPECT_EQ(textfile::splitLines(text), book) << qPrintable(text);
        EXPECT_EQ(textfile::splitLines(text, textfile::LineEnds::Any), list) << qPrintable(text);
    }
}

TEST(TextFiles, WriterAddsOneCrLfAndReaderMatchesSplitLinesAcrossChunkBoundaries)
{
    QTemporaryDir dir;
    const QString small = dir.filePath(u"a.txt"_s), big = dir.filePath(u"big.txt"_s);
    ASSERT_TRUE(textfile::writeText(small, u"Глава 1\r\nТекст"_s));
    EXPECT_EQ(textfile::readBytes(small), QByteArray("\xC3\xEB\xE0\xE2\xE0 1\r\n\xD2\xE5\xEA\xF1\xF2\r\n"));
    EXPECT_FALSE(textfile::writeText(dir.filePath(u"missing/dir/a.txt"_s), u"x"_s));
    // A list the code page cannot hold is written in UTF-8 after the mark and reads back whole.
    ASSERT_TRUE(textfile::writeLines(small, {u"за́мок"_s, u"café"_s}));
    EXPECT_EQ(textfile::readLines(small), (QStringList{u"за́мок"_s, u"café"_s}));
    EXPECT_FALSE(textfile::readLines(dir.filePath(u"none.txt"_s)).has_value());
    // A head is decoded as the whole file is: a UTF-8 character cut at the end is left out,
    // a damaged byte never is, and a file that is no UTF-8 further on reads as Windows-1251.
    const QByteArray x(16379, 'x');
    const QByteArray zh = u"ж"_s.toUtf8();
    for (const auto &[bytes, size, head] : {
             std::tuple{u"Ж…Ж\r\n"_s.toUtf8(), 6, u"Ж…"_s},
             {x + "\n" + zh + "\xFF" + "xx", 16384, QString::fromLatin1(x) + u"\nР¶яx"_s},
             {zh.repeated(40) + "\xFF" + zh + zh, 84, QString(40, u'ж') + u"\uFFFDж"_s},
         }) {
        ASSERT_TRUE(textfile::writeBytes(small, bytes));
        EXPECT_EQ(textfile::readHead(small, size), head);
    }
    // A chunk read keeps back a character cut at its end, for the next chunk.
    using enum textcodec::Encoding;
    for (const auto &[bytes, encoding, whole] :
         {std::tuple<QByteArray, textcodec::Encoding, qsizetype>{"a\xD0\x96", Utf8, 3},
          {"a\xD0", Utf8, 1},
          {"a\xE2\x80", Utf8WithBom, 1},
          {"a\xF0\x9D\x90", Utf8, 1},
          {"\xF0\x9D\x90\x80", Utf8, 4},
          {"a\xD0", Windows1251, 2},
          {"abc", Utf16Le, 2},
          {"abc", Koi8r, 3}})
        EXPECT_EQ(textcodec::wholeCharacters(bytes, encoding), whole) << bytes.toHex().toStdString();
    // Lines of every length around the reader's chunk size, with a CR LF split across chunks.
    QString text;
    for (int i = 0; i < 3000; ++i)
        text += QString(i % 97, u'ж') + (i % 5 == 0 ? u"\r"_s : i % 7 == 0 ? u"\n"_s : u"\r\n"_s);
    text += u"tail\nwith lf"_s;
    // In Windows-1251, then in UTF-8 after a byte order mark, where a U+FEFF that starts a
    // line, the first one too, is text, and so in UTF-16.
    QString marked = u'\uFEFF' + text;
    marked.replace(u"\r\nжжж"_s, u"\r\n\uFEFFжжж"_s);
    for (const auto &[bytes, encoding, lines] :
         {std::tuple(cp1251::encode(text), textcodec::Encoding::Windows1251, text),
          std::tuple("\xEF\xBB\xBF" + marked.toUtf8(), textcodec::Encoding::Utf8WithBom, marked),
          std::tuple(textcodec::encode(marked, textcodec::Encoding::Utf16Be), textcodec::Encoding::Utf16Be,
                     marked)}) {
        QFile f(big);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        f.close();
        // A recording reads a lone LF as a line end too.
        for (const auto ends : {textfile::LineEnds::CarriageReturn, textfile::LineEnds::Any}) {
            textfile::LineReader reader(big, ends);
            QStringList got;
            while (auto line = reader.next())
                got.append(*line);
            EXPECT_EQ(got, textfile::splitLines(lines, ends));
            EXPECT_TRUE(reader.isOpen() && reader.atEnd());
            EXPECT_EQ(reader.encoding(), encoding);
        }
        if (encoding == textcodec::Encoding::Windows1251) { // lists: any line end
            EXPECT_EQ(textfile::readLines(big), textfile::splitLines(text, textfile::LineEnds::Any));
        }
    }
}

TEST(ProgramFolder, HomeVariableWinsAndNamesAreMatchedIgnoringCase)
{
    const QByteArray saved = qgetenv("QUENVALE_HOME");
    QTemporaryDir home;
    qputenv("QUENVALE_HOME", home.path().toUtf8());
    programfolder::reset();

    EXPECT_EQ(programfolder::path(), QDir(home.path()).absolutePath());
    ASSERT_TRUE(QDir(home.path()).mkpath(u"dic"_s) &&
                textfile::writeText(home.filePath(u"dic/Exc_Rus.TXT"_s), {}));
    // A name that does not exist yet comes back as given, for creating it.
    EXPECT_EQ(QStringList({programfolder::file(u"DIC/exc_rus.txt"_s), programfolder::file(u"DIC/new.txt"_s),
                           programfolder::file(u"BOOKMARK"_s)}),
              QStringList({home.filePath(u"dic/Exc_Rus.TXT"_s), home.filePath(u"dic/new.txt"_s),
                           home.filePath(u"BOOKMARK"_s)}));
    qputenv("QUENVALE_HOME", saved);
    programfolder::reset();
}

// The first-start copy keeps the user's files and names each file it could not copy.
TEST(ProgramFolder, FirstStartCopyKeepsUserFilesAndReportsFailures)
{
    QTemporaryDir from, to;
    ASSERT_TRUE(QDir(from.path()).mkpath(u"DIC"_s) && QDir(from.path()).mkpath(u"HELP"_s) &&
                QDir(to.path()).mkpath(u"DIC"_s));
    for (const QString &name : {u"DIC/a.txt"_s, u"DIC/b.txt"_s, u"HELP/Help1.rtf"_s})
        ASSERT_TRUE(textfile::writeText(from.filePath(name), u"shipped"_s));
    ASSERT_TRUE(textfile::writeText(to.filePath(u"DIC/a.txt"_s), u"mine"_s));
    // A file where the HELP folder should be: that folder cannot be made.
    ASSERT_TRUE(textfile::writeText(to.filePath(u"HELP"_s), {}));
    // Folders where a file and its new version should be: neither can be written.
    ASSERT_TRUE(textfile::writeText(from.filePath(u"DIC/c.txt"_s), u"shipped"_s) &&
                QDir(to.path()).mkpath(u"DIC/c.txt"_s) && QDir(to.path()).mkpath(u"DIC/c.txt.new"_s));

    const programfolder::ShippedUpdate update = programfolder::updateShipped(from.path(), to.path());
    EXPECT_EQ(update.failures, QStringList({to.filePath(u"DIC/c.txt.new"_s) + u": не удалось записать файл"_s,
                                            to.filePath(u"HELP"_s) + u": не удалось создать папку"_s}));
    EXPECT_EQ(update.newBeside, QStringList(to.filePath(u"DIC/a.txt.new"_s)));
    EXPECT_EQ(textfile::readText(to.filePath(u"DIC/a.txt"_s)), u"mine\r\n"_s);
    EXPECT_TRUE(QFile::exists(to.filePath(u"DIC/b.txt"_s)));
}

namespace {

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

} // namespace

// Each upgrade of the shipped lists: an unchanged copy follows, a changed one stays and hears of
// each new version once, beside it; a copy the user removed comes back.
TEST(ProgramFolder, UpgradeReachesUnchangedCopiesAndKeepsChangedOnes)
{
    QTemporaryDir from, to;
    const auto ship = [&](const QByteArray &version) {
        writeBytes(from.filePath(u"DIC/homograph.txt"_s), "homographs " + version);
        writeBytes(from.filePath(u"DIC/exc_rus.txt"_s), "dictionary " + version);
        writeBytes(from.filePath(u"HELP/Help1.rtf"_s), "help " + version);
        writeBytes(from.filePath(u"end.wav"_s), "sound " + version);
    };
    const auto run = [&] { return programfolder::updateShipped(from.path(), to.path()); };
    ship("1");
    EXPECT_EQ(run().newBeside, QStringList());
    writeBytes(to.filePath(u"DIC/exc_rus.txt"_s), "my dictionary");

    ship("2");
    const programfolder::ShippedUpdate second = run();
    EXPECT_EQ(second.failures, QStringList());
    EXPECT_EQ(second.newBeside, QStringList(to.filePath(u"DIC/exc_rus.txt.new"_s)));
    EXPECT_EQ(readBytes(to.filePath(u"DIC/homograph.txt"_s)), "homographs 2");
    EXPECT_EQ(readBytes(to.filePath(u"HELP/Help1.rtf"_s)), "help 2");
    EXPECT_EQ(readBytes(to.filePath(u"end.wav"_s)), "sound 2");
    EXPECT_EQ(readBytes(to.filePath(u"DIC/exc_rus.txt"_s)), "my dictionary");
    EXPECT_EQ(readBytes(to.filePath(u"DIC/exc_rus.txt.new"_s)), "dictionary 2");
    QFile::remove(to.filePath(u"HELP/Help1.rtf"_s));
    EXPECT_EQ(run().newBeside, QStringList()); // told once
    EXPECT_EQ(readBytes(to.filePath(u"HELP/Help1.rtf"_s)), "help 2");

    ship("3");
    EXPECT_EQ(run().newBeside, QStringList(to.filePath(u"DIC/exc_rus.txt.new"_s)));
    EXPECT_EQ(readBytes(to.filePath(u"DIC/exc_rus.txt.new"_s)), "dictionary 3");
    EXPECT_EQ(readBytes(to.filePath(u"DIC/exc_rus.txt"_s)), "my dictionary");
    EXPECT_EQ(readBytes(to.filePath(u"DIC/homograph.txt"_s)), "homographs 3");
}

// A folder filled by a version that kept no record: a copy equal to an earlier shipped version
// is unchanged, any other is the user's.
TEST(ProgramFolder, FolderWithoutRecordKnowsEarlierShippedVersions)
{
    QTemporaryDir from, to;
    writeBytes(from.filePath(u"DIC/homograph.txt"_s), "homographs 2");
    writeBytes(from.filePath(u"DIC/exc_rus.txt"_s), "dictionary 2");
    const QByteArray old = QCryptographicHash::hash("homographs 1", QCryptographicHash::Sha256).toHex();
    writeBytes(from.filePath(u"earlier.sha256"_s),
               old + "  DIC/homograph.txt\n" + old + "  DIC/exc_rus.txt\n");
    writeBytes(to.filePath(u"DIC/homograph.txt"_s), "homographs 1");
    writeBytes(to.filePath(u"DIC/exc_rus.txt"_s), "homographs 1, edited");

    const programfolder::ShippedUpdate update = programfolder::updateShipped(from.path(), to.path());
    EXPECT_EQ(update.newBeside, QStringList(to.filePath(u"DIC/exc_rus.txt.new"_s)));
    EXPECT_EQ(readBytes(to.filePath(u"DIC/homograph.txt"_s)), "homographs 2");
    EXPECT_EQ(readBytes(to.filePath(u"DIC/exc_rus.txt"_s)), "homographs 1, edited");
}
