#!/usr/bin/env python3
"""Builds the word lists the program ships in data/DIC/.

70000.txt: the known words the new-word finder leaves out. The words come from a spelling
dictionary in Hunspell form (by default Debian's hunspell-ru): every lower-case entry with
its suffix forms expanded from the affix file. Capitalised entries (names, places,
abbreviations) stay out, so that the finder offers them for checking, and so do forms of two
or more letters without a vowel (см, тж, стр, гм), which the voice spells out.

The forms are ranked by how often a book of today is expected to use them, estimated from
old and modern Russian alike:
- a frequency list of 19th- and early 20th-century prose ("form<TAB>count" a line, UTF-8);
- the Russian fortunes of fortunes-ru (aphorisms and jokes of the 1990s and 2000s), each
  fortune once, without its "-- author" line;
- the Russian side of the Mueller English-Russian dictionary (mueller7-dict), without its
  transcriptions and labels: it names everyday things that neither of the others meets;
- the word list of Tesseract's Russian model (tesseract-ocr-rus), drawn from modern web
  text: it has no counts, but it holds every form met often enough, so the rarest form of
  an entry it holds tells how common the entry is.
An entry counts by all its forms, so that a word met in one case brings its other cases, and
its headword ranks with its likeliest form (горницу brings горница).
A form's rank is its expected share of a book's words, the sources' estimates summed by
their weights. A text source gives the entry its share of that source's words and divides
it among the entry's forms by their own counts there, smoothed toward the share each
suffix takes in the running text at large: an entry met a few times follows the suffix
shares, one met often its own counts. A form is in the word list when its rate passes a
threshold, so an entry's rate is at least the threshold over the suffix share of its
rarest listed form; the threshold is set so that, over the entries the old prose meets 50
times or more, this agrees with the prose in the median, and the listed forms divide the
entry's rate by their suffix shares.

The dictionary checks a hyphenated word part by part and so holds none: a hyphenated form
of the prose or the fortunes (что-то, из-за, по-видимому) is taken, spelled as they spell
it most often, when each part is a dictionary form or a particle or prefix of such words
(-то, -либо, -нибудь, -ка, -таки, кое-, по-), as an entry of its own. The first 150,000
forms are kept, "ё" and "е" counting as one letter (the finder compares them so), each
other form spelled as the dictionary spells it. So long a list serves old books and new:
held out of the prose ranking, the classics of tests/data get fewer rows to review than with
the 70,000 forms of the old prose alone, and a page of today's prose a third of them, while
nearly all of the names those rows held stay left to the finder (--hold-out prints this).

homograph.txt: the homographs of tools/homographs/homograph-source.txt, checked; each
form there carries a usage note after a TAB.

Both are lower case, Windows-1251 with CR LF, and the same bytes for the same inputs.

    python3 tools/make_known_words.py [--freq FILE] [--fortunes DIR] [--mueller FILE]
                                      [--web FILE.traineddata] [--dic FILE.dic] [--out DIR]
                                      [--count N] [--hold-out BOOK ... [--sizes N ...]]

With --hold-out it writes nothing and prints, for each book, the new-word finder's rows at
threshold 1 with the lists made without the book's words in the prose counts: with the old
prose ranking of 70,000 forms and with this ranking cut at each of --sizes.

It needs hunspell-ru, fortunes-ru, mueller7-dict, tesseract-ocr-rus and tesseract-ocr (whose
combine_tessdata and dawg2wordlist unpack the word list).
"""

import argparse
import gzip
import hashlib
import lzma
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parent.parent
# Word-form counts over about 6 million tokens of 19th- and early 20th-century Russian prose,
# kept here unchanged (xz-compressed) so that the lists can be made again from this folder.
DEFAULT_FREQ = ROOT / "tools" / "wordfreq" / "ru-prose-freq.txt.xz"
DEFAULT_DIC = pathlib.Path("/usr/share/hunspell/ru_RU.dic")
DEFAULT_FORTUNES = pathlib.Path("/usr/share/games/fortunes/ru")
DEFAULT_MUELLER = pathlib.Path("/usr/share/dictd/mueller7.dict.dz")
DEFAULT_WEB = pathlib.Path("/usr/share/tesseract-ocr/5/tessdata/rus.traineddata")
KNOWN_COUNT = 150000
# The length of the list before modern text joined, for comparing with it.
KNOWN_COUNT_BEFORE = 70000
# How much each source counts. The old prose leads, so that the classics keep most of their
# words; modern text takes the rest, the fortunes being the only running modern text, the
# word list the widest and the dictionary the thinnest evidence of use.
WEIGHTS = {"prose": 0.68, "fortunes": 0.18, "mueller": 0.05, "web": 0.09}
# How many words of an entry's own counts weigh as much as the suffix shares of entries at
# large when its forms divide its count.
SMOOTHING = 5.0
# A word of a text source: Russian letters, hyphens inside.
WORD = re.compile(r"[а-яё]+(?:-[а-яё]+)*")
# Parts of hyphenated words that need not be words of their own: particles after the hyphen,
# prefixes before it.
HYPHEN_PARTICLES = ("то", "либо", "нибудь", "ка", "таки")
HYPHEN_PREFIXES = ("кое", "по")


def encodable(form):
    try:
        form.encode("cp1251")
        return True
    except UnicodeEncodeError:
        return False


def abbreviation_like(form):
    """A form of two or more letters without a vowel (см, тж, стр): an abbreviation the voice
    spells out, or a sound it cannot read as written, so the finder offers it for checking.
    The one-letter prepositions (в, с, к) are words."""
    return len(form) > 1 and not any(c in "аеёиоуыэюя" for c in form.lower())


def plain(form):
    """The spelling the finder compares: "ё" read as "е"."""
    return form.replace("ё", "е")


def hunspell_encoding(aff_bytes):
    """The encoding an affix file names (SET) for itself and its dictionary; KOI8-R and
    UTF-8 are both met."""
    m = re.search(rb"^SET\s+(\S+)", aff_bytes, re.M)
    name = m.group(1).decode("ascii").lower() if m else "iso-8859-1"
    return {"microsoft-cp1251": "cp1251"}.get(name, name)


def read_affixes(aff_path, encoding):
    """The suffix rules by flag: (strip, add, condition regex). Prefixes, flags on affixes
    and compounding are refused: the dictionary this was made for has none of them."""
    rules = {}
    for line in aff_path.read_bytes().decode(encoding).splitlines():
        fields = line.split()
        if not fields or fields[0] not in ("SFX", "PFX", "FLAG", "COMPOUNDFLAG", "NEEDAFFIX", "CIRCUMFIX"):
            continue
        if fields[0] != "SFX":
            sys.exit(f"{aff_path}: {fields[0]} is not supported")
        if len(fields) == 4 and fields[2] in ("Y", "N"):
            rules.setdefault(fields[1], [])
            continue
        flag, strip, add, cond = fields[1], fields[2], fields[3], fields[4]
        if "/" in add:
            sys.exit(f"{aff_path}: flags on suffixes are not supported: {line}")
        strip = "" if strip == "0" else strip
        add = "" if add == "0" else add
        rules[flag].append((strip, add, re.compile("(?:" + (cond if cond != "." else "") + ")$")))
    return rules


def expand(dic_path, encoding, rules):
    """Each lower-case entry with its forms, in dictionary order: (form, rule) pairs, the rule
    saying which suffix made the form (the entry itself: its flags)."""
    lines = dic_path.read_bytes().decode(encoding).splitlines()
    entries = []
    for line in lines[1:]:
        line = line.strip()
        if not line:
            continue
        word, _, flags = line.partition("/")
        if word != word.lower():
            continue
        forms = [(word, ("", flags))]
        for flag in flags:
            for strip, add, cond in rules.get(flag, ()):
                if cond.search(word) and word.endswith(strip):
                    forms.append((word[: len(word) - len(strip)] + add, (flag, strip, add)))
        entries.append(forms)
    return entries


def read_bytes(path):
    """A file's bytes, uncompressed when it is xz-compressed."""
    raw = path.read_bytes()
    return lzma.decompress(raw) if path.suffix == ".xz" else raw


class Counts:
    """Word counts of one source by plain spelling, its most frequent spelling of each, and
    the number of words it holds."""

    def __init__(self):
        self.counts, self.spellings, self.total = {}, {}, 0

    def add(self, form, count):
        key = plain(form)
        if key:
            self.counts[key] = self.counts.get(key, 0) + count
            forms = self.spellings.setdefault(key, {})
            forms[form] = forms.get(form, 0) + count
            self.total += count

    def merge(self, other):
        for key, forms in other.spellings.items():
            for form, count in forms.items():
                self.add(form, count)
        return self

    def spelling(self, key):
        forms = self.spellings[key]
        return min(forms, key=lambda f: (-forms[f], f))


def read_counts(path):
    """The counts of a frequency list."""
    result = Counts()
    for line in read_bytes(path).decode("utf-8").splitlines():
        form, _, count = line.partition("\t")
        result.add(form.strip().lower(), int(count or 0))
    return result


def count_words(texts):
    """The counts of the Russian words of some texts."""
    result = Counts()
    for text in texts:
        for form in WORD.findall(text.lower()):
            result.add(form, 1)
    return result


def fortunes(folder):
    """The texts of the fortune files of a folder (not their indexes or links), each fortune
    once and without the lines that name its author, and the bytes read."""
    texts, seen, read = [], set(), []
    for path in sorted(folder.iterdir()):
        if path.suffix == ".dat" or path.is_symlink() or not path.is_file():
            continue
        raw = path.read_bytes()
        read.append(path.name.encode() + b"\0" + raw)
        for fortune in raw.decode("utf-8").split("\n%\n"):
            body = "\n".join(line for line in fortune.splitlines() if not line.lstrip().startswith("--")).strip()
            if body and body not in seen:
                seen.add(body)
                texts.append(body)
    return texts, b"".join(read)


def dictionary_text(path):
    """The text of a dictd dictionary without its transcriptions ([...]) and labels (_n.,
    _разг.), and the bytes read."""
    raw = path.read_bytes()
    return re.sub(r"\[[^\]\n]*\]|_\S+", " ", gzip.decompress(raw).decode("utf-8")), raw


def web_words(traineddata):
    """The lower-case Russian words of a Tesseract model's word list (capitalised ones are
    mostly names), by plain spelling, and the bytes read."""
    raw = traineddata.read_bytes()
    with tempfile.TemporaryDirectory() as tmp:
        prefix = pathlib.Path(tmp) / "model."
        subprocess.run(["combine_tessdata", "-u", str(traineddata), str(prefix)], check=True, capture_output=True)
        listed = pathlib.Path(tmp) / "words"
        subprocess.run(["dawg2wordlist", f"{prefix}lstm-unicharset", f"{prefix}lstm-word-dawg", str(listed)],
                       check=True, capture_output=True)
        words = listed.read_text(encoding="utf-8").split()
    return {plain(w) for w in words if WORD.fullmatch(w)}, raw


def hyphenated(entries, running):
    """The hyphenated words of running text whose every part is a dictionary form or a
    particle or prefix of hyphenated words, as one-form entries, in spelling order."""
    dictionary = {plain(form) for forms in entries for form, _ in forms}
    found = []
    for key in running.counts:
        parts = key.split("-")
        if len(parts) < 2:
            continue
        if all(part in dictionary or (i == 0 and part in HYPHEN_PREFIXES) or (i > 0 and part in HYPHEN_PARTICLES)
               for i, part in enumerate(parts)):
            found.append([(running.spelling(key), ("-",))])
    return sorted(found)


def spellings_of(forms):
    """An entry's plain spellings, each once, in its own order, so that float sums over them
    come out the same on every run."""
    return list(dict.fromkeys(plain(f) for f, _ in forms))


def suffix_shares(entries, rate):
    """For each rule, the share of its entries' use its forms take, over the entries met."""
    taken, held = {}, {}
    for forms in entries:
        entry_rate = sum(rate(key) for key in spellings_of(forms))
        if not entry_rate:
            continue
        for rule in dict.fromkeys(rule for _, rule in forms):
            taken[rule] = taken.get(rule, 0.0) + sum(rate(plain(f)) for f, r in forms if r == rule)
            held[rule] = held.get(rule, 0.0) + entry_rate
    return {rule: taken[rule] / held[rule] for rule in held}


def known_words(entries, texts, web, count=KNOWN_COUNT):
    """The `count` forms a book is most likely to use, once each by plain spelling. `texts` are
    (weight, Counts, running) triples, the first the old prose; only running text tells how
    an entry's forms share its use. `web` is (weight, set of listed plain spellings). Ties go
    to the form of the more common entry, then to the spelling, so the order never depends
    on chance."""
    shares = suffix_shares(entries, lambda key: sum(weight * c.counts.get(key, 0) / c.total
                                                    for weight, c, running in texts if running))
    web_weight, listed = web

    def rarest_listed(forms):
        return min((shares[rule] for f, rule in forms if plain(f) in listed and shares.get(rule)), default=0.0)

    # The word list's threshold: the median, over the entries the prose meets 50 times or
    # more, of the prose rate times the share of the rarest listed form.
    prose = texts[0][1]
    ratios = []
    for forms in entries:
        met, rarest = sum(prose.counts.get(k, 0) for k in spellings_of(forms)), rarest_listed(forms)
        if met >= 50 and rarest:
            ratios.append(met / prose.total * rarest)
    threshold = sorted(ratios)[len(ratios) // 2]

    best = {}  # plain spelling -> (rank key, form)
    for forms in entries:
        keys = spellings_of(forms)
        held = [(weight, c, sum(c.counts.get(k, 0) for k in keys)) for weight, c, _ in texts]
        rarest = rarest_listed(forms)
        web_rate = web_weight * threshold / rarest if rarest else 0.0
        entry_rate = sum(weight * n / c.total for weight, c, n in held) + web_rate
        scores = []
        for form, rule in forms:
            key, share = plain(form), shares.get(rule, 0.0)
            score = sum(weight * n / c.total * (c.counts.get(key, 0) + SMOOTHING * share) / (n + SMOOTHING)
                        for weight, c, n in held)
            scores.append(score + (web_rate * share if key in listed else 0.0))
        # The headword comes in with the entry's likeliest form: a reader who meets горницу
        # meets горница too, though the sources may not.
        scores[0] = max(scores)
        for (form, _), score in zip(forms, scores):
            if not encodable(form) or " " in form or abbreviation_like(form):
                continue
            key = plain(form)
            rank = (-score, -entry_rate, form)
            if key not in best or rank < best[key][0]:
                best[key] = (rank, form)
    ranked = sorted(best.values())
    return [form for _, form in ranked[:count]]


def prose_ranking(entries, prose, count):
    """The ranking of the lists before modern text joined: by the form's own prose count, then
    its entry's. Kept to compare the lists with (--hold-out)."""
    best = {}
    for forms in entries:
        keys = spellings_of(forms)
        entry_count = sum(prose.counts.get(k, 0) for k in keys)
        for form, _ in forms:
            key = plain(form)
            rank = (-prose.counts.get(key, 0), -entry_count, form)
            if encodable(form) and " " not in form and (key not in best or rank < best[key][0]):
                best[key] = (rank, form)
    return [form for _, form in sorted(best.values())[:count]]


# A word as the new-word finder cuts it: letters and digits, hyphens and apostrophes inside.
BOOK_WORD = re.compile(r"[^\W_]+(?:[-'\u2019\u2018`\u2032\u02bc][^\W_]+)*")


def book_text(path):
    raw = path.read_bytes()
    try:
        return raw.decode("utf-8-sig")
    except UnicodeDecodeError:
        return raw.decode("cp1251")


def held_out(prose, text):
    """The prose counts without a book's words, as if the prose had never met the book."""
    book, result = count_words([text]), Counts()
    for key, forms in prose.spellings.items():
        for form, count in forms.items():
            left = count - book.spellings.get(key, {}).get(form, 0)
            if left > 0:
                result.add(form, left)
    return result


# What may stand between a word and the one before it in a sentence.
SENTENCE_INSIDE = re.compile(r"[\w,;:][\s\"«»„“()\u2014\u2013-]*$")


def finder_rows(text, known, homs):
    """The rows the new-word finder gives for a book at threshold 1 with these lists, by the
    spelling it compares, each with whether it is a name: always capitalised, and met
    inside a sentence at least once."""
    lists = {plain(w) for w in known} | set(homs)
    text = text.replace("\u00ad", "")
    rows = {}
    for m in BOOK_WORD.finditer(text):
        key = plain(m.group().lower())
        if key in lists:
            continue
        capital, inside = rows.get(key, (True, False))
        inside = inside or bool(SENTENCE_INSIDE.search(text, max(0, m.start() - 20), m.start()))
        rows[key] = (capital and m.group()[0].isupper(), inside)
    return {key: capital and inside for key, (capital, inside) in rows.items()}


def hold_out_table(books, sizes, entries, texts, web, fortune_counts, homs):
    """Prints, for each book held out of the prose ranking, the finder's rows with the old
    prose ranking and with this one cut at each size, and the share of the names the old
    ranking left to the finder that each size still leaves."""
    print("| book | words | old list | " + " | ".join(f"{n:,} forms" for n in sizes) + " |")
    print("|---" * (len(sizes) + 3) + "|")
    names_total, names_kept = 0, [0] * len(sizes)
    for path in books:
        text = book_text(path)
        prose = held_out(texts[0][1], text)
        all_entries = entries + hyphenated(entries, Counts().merge(prose).merge(fortune_counts))
        old = finder_rows(text, prose_ranking(all_entries, prose, KNOWN_COUNT_BEFORE), homs)
        ranked = known_words(all_entries, [(texts[0][0], prose, True)] + texts[1:], web, max(sizes))
        cells = []
        names = [key for key, name in old.items() if name]
        names_total += len(names)
        for i, n in enumerate(sizes):
            rows = finder_rows(text, ranked[:n], homs)
            cells.append(f"{len(rows):,}")
            names_kept[i] += sum(key in rows for key in names)
        print(f"| {path.name} | {len(BOOK_WORD.findall(text)):,} | {len(old):,} | " + " | ".join(cells) + " |")
    print(f"| names of the old list's rows still listed ({names_total:,}) | | | "
          + " | ".join(f"{100 * k / max(names_total, 1):.0f} %" for k in names_kept) + " |")


def homographs(source):
    """The homograph forms of the source file, each with its note; a malformed one is an error."""
    words, problems, seen = [], [], set()
    for number, line in enumerate(source.read_text(encoding="utf-8").splitlines(), 1):
        if not line.strip() or line.startswith("#"):
            continue
        word, _, note = line.partition("\t")
        word = word.strip()
        if (not word or word != word.lower() or "ё" in word or any(c in word for c in ',"')
                or word in seen or not encodable(word) or not note.strip()):
            problems.append(f"{source.name}:{number}: bad or repeated form, or no note: {line!r}")
            continue
        seen.add(word)
        words.append(word)
    return words, problems


def package_version(path):
    """The Debian package and version a file comes from, when dpkg knows it."""
    try:
        owner = subprocess.run(["dpkg", "-S", str(path)], capture_output=True, text=True, check=True)
        package = owner.stdout.split(":", 1)[0].strip()
        version = subprocess.run(["dpkg-query", "-W", "-f=${Version}", package],
                                 capture_output=True, text=True, check=True).stdout
        return f"{package} {version}"
    except (OSError, subprocess.CalledProcessError):
        return "no Debian package"


def write(path, words):
    path.write_bytes("".join(w + "\r\n" for w in words).encode("cp1251"))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--freq", type=pathlib.Path, default=DEFAULT_FREQ,
                        help="word-frequency list of old prose (UTF-8, may be xz-compressed)")
    parser.add_argument("--fortunes", type=pathlib.Path, default=DEFAULT_FORTUNES, help="folder of Russian fortunes")
    parser.add_argument("--mueller", type=pathlib.Path, default=DEFAULT_MUELLER,
                        help="English-Russian dictionary in dictd form")
    parser.add_argument("--web", type=pathlib.Path, default=DEFAULT_WEB, help="Tesseract model with a word list")
    parser.add_argument("--dic", type=pathlib.Path, default=DEFAULT_DIC,
                        help="Hunspell dictionary; its .aff lies beside it")
    parser.add_argument("--out", type=pathlib.Path, default=ROOT / "data" / "DIC", help="output folder")
    parser.add_argument("--homographs", type=pathlib.Path, default=ROOT / "tools" / "homographs" / "homograph-source.txt")
    parser.add_argument("--count", type=int, default=KNOWN_COUNT, help="how many known words to keep")
    parser.add_argument("--hold-out", type=pathlib.Path, action="append", default=[], metavar="BOOK",
                        help="instead of writing the lists, print the finder's rows for this book (UTF-8 or "
                             "Windows-1251; may be repeated) with its words taken out of the prose counts")
    parser.add_argument("--sizes", type=int, nargs="+", default=[70000, 100000, KNOWN_COUNT],
                        help="list lengths the held-out table compares")
    args = parser.parse_args()

    homs, problems = homographs(args.homographs)
    for p in problems:
        print(p, file=sys.stderr)
    if problems:
        return 1

    needed = ((args.dic, "hunspell-ru"), (args.fortunes, "fortunes-ru"), (args.mueller, "mueller7-dict"),
              (args.web, "tesseract-ocr-rus"))
    missing = [f"{path} (in {package})" for path, package in needed if not path.exists()]
    missing += [f"{tool} (in tesseract-ocr)" for tool in ("combine_tessdata", "dawg2wordlist") if not shutil.which(tool)]
    if missing:
        print("missing: " + ", ".join(missing), file=sys.stderr)
        return 1

    def source(what, path, read):
        print(f"{what}: {path} ({package_version(path)}, sha256 {hashlib.sha256(read).hexdigest()})")

    aff = args.dic.with_suffix(".aff")
    source("dictionary", args.dic, args.dic.read_bytes() + aff.read_bytes())
    source("frequency list", args.freq, read_bytes(args.freq))
    prose = read_counts(args.freq)
    texts, read = fortunes(args.fortunes)
    source("fortunes", args.fortunes, read)
    fortune_counts = count_words(texts)
    text, read = dictionary_text(args.mueller)
    source("dictionary text", args.mueller, read)
    mueller = count_words([text])
    listed, read = web_words(args.web)
    source("word list", args.web, read)
    print(f"  unpacked by {package_version(pathlib.Path('/usr/bin/dawg2wordlist'))}")

    encoding = hunspell_encoding(aff.read_bytes())
    entries = expand(args.dic, encoding, read_affixes(aff, encoding))
    texts = [(WEIGHTS["prose"], prose, True), (WEIGHTS["fortunes"], fortune_counts, True),
             (WEIGHTS["mueller"], mueller, False)]
    if args.hold_out:
        hold_out_table(args.hold_out, args.sizes, entries, texts, (WEIGHTS["web"], listed), fortune_counts, homs)
        return 0
    hyphen_entries = hyphenated(entries, Counts().merge(prose).merge(fortune_counts))
    known = known_words(entries + hyphen_entries, texts, (WEIGHTS["web"], listed), args.count)

    args.out.mkdir(parents=True, exist_ok=True)
    write(args.out / "70000.txt", known)
    write(args.out / "homograph.txt", homs)
    print(f"70000.txt: {len(known)} words from {len(entries)} entries and {len(hyphen_entries)} hyphenated forms "
          f"({sum('-' in w for w in known)} kept); homograph.txt: {len(homs)} forms")
    return 0


if __name__ == "__main__":
    sys.exit(main())
