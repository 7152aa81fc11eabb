#!/bin/bash
# Makes the e-books the tests read (tests/data/ebooks/) from the test book in tools/ebooks/, with
# the converters readers use: pandoc (FB2, EPUB 2 and 3, DOCX, ODT, HTML) and LibreOffice
# (DOCX, ODT, PDF, DOC). Also the files that must be refused: a scanned PDF, a picture, a ZIP of
# pictures. Needs pandoc, libreoffice-writer-nogui, imagemagick, zip and iconv; run it after
# changing the test book and commit what it makes.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$here/../tests/data/ebooks
src=$here/ebooks/pikovaya_dama.md
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
cd "$work"

book=pikovaya_dama
pandoc "$src" -s -o "$out/$book.pandoc.fb2"
pandoc "$src" -s -t epub2 -o "$out/$book.epub2.epub"
pandoc "$src" -s -t epub3 -o "$out/$book.epub3.epub"
pandoc "$src" -s -o "$out/$book.pandoc.docx"
pandoc "$src" -s -o "$out/$book.pandoc.odt"
pandoc "$src" -s --metadata charset=utf-8 -o "$out/$book.pandoc.html"
# The same page as an older site keeps it: Windows-1251, said in its meta declaration.
sed 's/charset="utf-8"/charset="windows-1251"/I' "$out/$book.pandoc.html" | iconv -c -f utf-8 -t cp1251 >"$out/$book.cp1251.html"
# FB2.ZIP as libraries hand it out: one FB2 in a ZIP.
cp "$out/$book.pandoc.fb2" "$book.fb2"
rm -f "$out/$book.fb2.zip"
zip -q -X "$out/$book.fb2.zip" "$book.fb2"

# LibreOffice opens pandoc's ODT as a writer would and saves it in its own formats.
cp "$out/$book.pandoc.odt" "$book.odt"
soffice --headless --convert-to docx:"MS Word 2007 XML" --outdir lo "$book.odt" >/dev/null 2>&1
soffice --headless --convert-to doc:"MS Word 97" --outdir lo "$book.odt" >/dev/null 2>&1
soffice --headless --convert-to pdf:writer_pdf_Export --outdir lo "$book.odt" >/dev/null 2>&1
cp "$out/$book.pandoc.docx" "$book.docx"
soffice --headless --convert-to odt --outdir lo "$book.docx" >/dev/null 2>&1
for ext in docx doc pdf odt; do
    cp "lo/$book.$ext" "$out/$book.lo.$ext"
done

# A Word document with an endnote beside the footnotes: the first note made an endnote, which
# Word numbers apart in its own file.
mkdir endnote
(cd endnote && unzip -q "$out/$book.pandoc.odt" &&
    perl -0pi -e 's/text:note-class="footnote"/text:note-class="endnote"/' content.xml &&
    zip -q -X -0 ../endnote.odt mimetype && zip -q -X -r ../endnote.odt . -x mimetype)
soffice --headless --convert-to docx:"MS Word 2007 XML" --outdir lo endnote.odt >/dev/null 2>&1
cp lo/endnote.docx "$out/endnote.docx"

# A PDF as a typeset book looks: narrow justified pages, long words broken by hyphens at the
# line ends (soft hyphens in the text, as a typesetter's hyphenation leaves them), each chapter on
# a new page, a running head above each page and its number below (pandoc's reference document,
# changed so).
mkdir ref
(cd ref && pandoc -o ../ref.odt --print-default-data-file reference.odt && unzip -q ../ref.odt &&
    sed -i 's/fo:page-width="8.5in"/fo:page-width="5in"/; s/fo:page-height="11in"/fo:page-height="7in"/;
        s/fo:margin-left="1in"/fo:margin-left="0.6in"/; s/fo:margin-right="1in"/fo:margin-right="0.6in"/;
        s|<style:header-style />|<style:header-style><style:header-footer-properties fo:min-height="0.3in" fo:margin-bottom="0.2in"/></style:header-style>|;
        s|<style:footer>|<style:header><text:p text:style-name="MP1">А. С. Пушкин. Пиковая дама</text:p></style:header><style:footer>|;
        s|<style:paragraph-properties fo:margin-top="0.0598in"|<style:paragraph-properties fo:text-align="justify" fo:margin-top="0.0598in"|' styles.xml &&
    perl -0pi -e 's|(style:name="Heading_20_1".*?style:class="text">)|$1<style:paragraph-properties fo:break-before="page"/>|s' styles.xml &&
    rm ../ref.odt && zip -q -X -r ../ref.odt mimetype . -x mimetype)
perl -CSD -pe 's/(\w{4})(\w{4,})/$1\x{00AD}$2/g unless /^(title|author|lang):/' "$src" >typeset.md
pandoc typeset.md -s --reference-doc=ref.odt -o typeset.odt
soffice --headless --convert-to pdf:writer_pdf_Export --outdir lo typeset.odt >/dev/null 2>&1
cp lo/typeset.pdf "$out/$book.typeset.pdf"

# Files that are no text: a picture, a scan (a PDF of a picture alone), a ZIP of pictures.
convert -size 600x800 xc:white -fill black -draw "rectangle 100,100 500,140" -draw "rectangle 100,200 500,240" page.png
cp page.png "$out/picture.png"
printf '![](page.png)\n' >scan.md
pandoc scan.md -o scan.odt
soffice --headless --convert-to pdf:writer_pdf_Export --outdir lo scan.odt >/dev/null 2>&1
cp lo/scan.pdf "$out/scan.pdf"
convert page.png page.jpg
rm -f "$out/pictures.zip"
zip -q -X "$out/pictures.zip" page.png page.jpg

# The smallest EPUB a shop hands out: one short chapter, about a kilobyte.
mkdir -p small/META-INF
printf 'application/epub+zip' >small/mimetype
cat >small/META-INF/container.xml <<'XML'
<?xml version="1.0"?>
<container version="1.0" xmlns="urn:oasis:names:tc:opendocument:xmlns:container"><rootfiles><rootfile full-path="book.opf" media-type="application/oebps-package+xml"/></rootfiles></container>
XML
cat >small/book.opf <<'XML'
<?xml version="1.0" encoding="utf-8"?>
<package xmlns="http://www.idpf.org/2007/opf" version="2.0" unique-identifier="id"><metadata xmlns:dc="http://purl.org/dc/elements/1.1/"><dc:title>Хамелеон</dc:title><dc:identifier id="id">small-1</dc:identifier><dc:language>ru</dc:language></metadata>
<manifest><item id="c1" href="c1.xhtml" media-type="application/xhtml+xml"/></manifest><spine><itemref idref="c1"/></spine></package>
XML
cat >small/c1.xhtml <<'XML'
<?xml version="1.0" encoding="utf-8"?>
<html xmlns="http://www.w3.org/1999/xhtml"><head><title>Хамелеон</title></head><body><h1>Хамелеон</h1><p>Через базарную площадь идет полицейский надзиратель Очумелов в новой шинели и с узелком в руке.</p></body></html>
XML
rm -f "$out/small.epub"
(cd small && zip -q -X -0 "$out/small.epub" mimetype && zip -q -X -9 -r "$out/small.epub" META-INF book.opf c1.xhtml)

# The same book spoilt: its spine names a chapter the archive lacks.
sed 's|<itemref idref="c1"/>|<itemref idref="c1"/><itemref idref="c2"/>|; s|</manifest>|<item id="c2" href="c2.xhtml" media-type="application/xhtml+xml"/></manifest>|' small/book.opf >book.opf.new
mv book.opf.new small/book.opf
rm -f "$out/missing_part.epub"
(cd small && zip -q -X -0 "$out/missing_part.epub" mimetype && zip -q -X -9 -r "$out/missing_part.epub" META-INF book.opf c1.xhtml)
# And a shop's protected copy: encryption.xml names the chapter.
cat >small/META-INF/encryption.xml <<'XML'
<?xml version="1.0"?>
<encryption xmlns="urn:oasis:names:tc:opendocument:xmlns:container" xmlns:enc="http://www.w3.org/2001/04/xmlenc#"><enc:EncryptedData><enc:EncryptionMethod Algorithm="http://www.w3.org/2001/04/xmlenc#aes128-cbc"/><enc:CipherData><enc:CipherReference URI="c1.xhtml"/></enc:CipherData></enc:EncryptedData></encryption>
XML
rm -f "$out/protected.epub"
(cd small && zip -q -X -0 "$out/protected.epub" mimetype && zip -q -X -9 -r "$out/protected.epub" META-INF book.opf c1.xhtml)

# An EPUB 3 as shops make them by hand: the navigation document in the spine, notes kept out of
# the reading order (linear="no") yet listed first, HTML's named entities, a script, a style
# and a picture in the chapter, and a note reference.
mkdir -p ordered/META-INF ordered/OEBPS/Text
printf 'application/epub+zip' >ordered/mimetype
cp small/META-INF/container.xml ordered/META-INF/
sed -i 's|full-path="book.opf"|full-path="OEBPS/book.opf"|' ordered/META-INF/container.xml
cat >ordered/OEBPS/book.opf <<'XML'
<?xml version="1.0" encoding="utf-8"?>
<package xmlns="http://www.idpf.org/2007/opf" version="3.0" unique-identifier="id"><metadata xmlns:dc="http://purl.org/dc/elements/1.1/"><dc:title>Порядок чтения</dc:title><dc:identifier id="id">ordered-1</dc:identifier><dc:language>ru</dc:language></metadata>
<manifest><item id="nav" href="nav.xhtml" media-type="application/xhtml+xml" properties="nav"/><item id="notes" href="Text/notes%201.xhtml" media-type="application/xhtml+xml"/><item id="c1" href="Text/c1.xhtml" media-type="application/xhtml+xml"/><item id="pic" href="pic.png" media-type="image/png"/></manifest>
<spine><itemref idref="nav"/><itemref idref="notes" linear="no"/><itemref idref="c1"/></spine></package>
XML
cat >ordered/OEBPS/nav.xhtml <<'XML'
<?xml version="1.0" encoding="utf-8"?>
<html xmlns="http://www.w3.org/1999/xhtml" xmlns:epub="http://www.idpf.org/2007/ops"><head><title>Оглавление</title></head><body><nav epub:type="toc"><ol><li><a href="Text/c1.xhtml">Глава первая</a></li></ol></nav></body></html>
XML
cat >ordered/OEBPS/Text/c1.xhtml <<'XML'
<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE html>
<html xmlns="http://www.w3.org/1999/xhtml" xmlns:epub="http://www.idpf.org/2007/ops"><head><title>Глава</title><style>p { margin: 0 }</style><script>var x = "не читать";</script></head>
<body><section><h2>Глава&nbsp;первая</h2><p><img src="../pic.png" alt="картинка"/>Было&nbsp;тихо&hellip; &mdash; сказал он<a epub:type="noteref" href="notes%201.xhtml#n1">1</a>.</p>
<div>Строка<br/>вторая строка</div><blockquote><p>Цитата</p></blockquote></section></body></html>
XML
cat >"ordered/OEBPS/Text/notes 1.xhtml" <<'XML'
<?xml version="1.0" encoding="utf-8"?>
<html xmlns="http://www.w3.org/1999/xhtml"><head><title>Примечания</title></head><body><aside id="n1"><p>1. Примечание к первой главе.</p></aside></body></html>
XML
cp page.png ordered/OEBPS/pic.png
rm -f "$out/ordered.epub"
(cd ordered && zip -q -X -0 "$out/ordered.epub" mimetype && zip -q -X -9 -r "$out/ordered.epub" META-INF OEBPS)
