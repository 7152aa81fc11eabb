#!/usr/bin/env python3
"""Builds the word lists the program ships in data/DIC/.

70000.txt: the known words the new-word finder leaves out: the 70,000 most frequent word
forms of a frequency list (one "form<TAB>count" a line, most frequent first), in the
list's order; a form written with "ё" is followed by its "е" spelling unless that is
among the forms already. homograph.txt: the homographs of tools/homographs, checked.

Both are lower case, Windows-1251 with CR LF, and the same bytes on every run.

    python3 tools/make_known_words.py [--freq FILE] [--out DIR]
"""

import argparse
import pathlib
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
DEFAULT_FREQ = pathlib.Path("/work/shared/wordfreq/ru-prose-freq.txt")
KNOWN_COUNT = 70000


def encodable(form):
    try:
        form.encode("cp1251")
        return True
    except UnicodeEncodeError:
        return False


def read_forms(path):
    """All forms of the frequency list, lower case, in file order, once each."""
    forms, seen = [], set()
    with open(path, encoding="utf-8") as f:
        for line in f:
            form = line.split("\t", 1)[0].strip().lower()
            if form and form not in seen:
                seen.add(form)
                forms.append(form)
    return forms


def known_words(forms, count=KNOWN_COUNT):
    """The first `count` forms the code page can hold, each "ё" form followed by its
    "е" spelling unless that spelling is among the chosen forms."""
    chosen = [f for f in forms if encodable(f)][:count]
    present = set(chosen)
    out = []
    for form in chosen:
        out.append(form)
        plain = form.replace("ё", "е")
        if plain != form and plain not in present:
            present.add(plain)
            out.append(plain)
    return out


def homographs(source):
    """The homograph forms of the source file; a malformed one is an error."""
    words, problems, seen = [], [], set()
    for number, line in enumerate(source.read_text(encoding="utf-8").splitlines(), 1):
        word = line.strip()
        if word.startswith("#"):
            continue
        if (not word or word != word.lower() or "ё" in word or any(c in word for c in ',"')
                or word in seen or not encodable(word)):
            problems.append(f"{source.name}:{number}: bad or repeated form {line!r}")
            continue
        seen.add(word)
        words.append(word)
    return words, problems


def write(path, words):
    path.write_bytes("".join(w + "\r\n" for w in words).encode("cp1251"))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--freq", type=pathlib.Path, default=DEFAULT_FREQ, help="word-frequency list (UTF-8)")
    parser.add_argument("--out", type=pathlib.Path, default=ROOT / "data" / "DIC", help="output folder")
    parser.add_argument("--homographs", type=pathlib.Path, default=ROOT / "tools" / "homographs" / "homograph-source.txt")
    args = parser.parse_args()

    forms = read_forms(args.freq)
    known = known_words(forms)
    homs, problems = homographs(args.homographs)
    for p in problems:
        print(p, file=sys.stderr)
    if problems:
        return 1
    everywhere = set(forms)
    for word in homs:
        if word not in everywhere:
            print(f"homograph not in the frequency list: {word}", file=sys.stderr)

    args.out.mkdir(parents=True, exist_ok=True)
    write(args.out / "70000.txt", known)
    write(args.out / "homograph.txt", homs)
    print(f"70000.txt: {len(known)} words; homograph.txt: {len(homs)} forms")
    return 0


if __name__ == "__main__":
    sys.exit(main())
