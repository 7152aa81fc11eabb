#!/usr/bin/env python3
"""Builds the word lists the program ships in data/DIC/.

70000.txt: the known words the new-word finder leaves out. The words come from a spelling
dictionary in Hunspell form (by default Debian's hunspell-ru): every lower-case entry with
its suffix forms expanded from the affix file. Capitalised entries (names, places,
abbreviations) stay out, so that the finder offers them for checking. The forms are ranked
by a frequency list ("form<TAB>count" a line, UTF-8); forms it lacks follow, ranked by how
common their dictionary entry is. The dictionary checks a hyphenated word part by part and so
holds none: a hyphenated form of the frequency list (что-то, из-за, по-видимому) is taken,
spelled as the list spells it most often, when each part is a dictionary form or a particle
or prefix of such words (-то, -либо, -нибудь, -ка, -таки, кое-, по-), and ranked by its own
count. The first 70,000 are kept, "ё" and "е" counting as one letter (the finder compares
them so), each other form spelled as the dictionary spells it.

homograph.txt: the homographs of tools/homographs/homograph-source.txt, checked; each
form there carries a usage note after a TAB.

Both are lower case, Windows-1251 with CR LF, and the same bytes for the same inputs.

    python3 tools/make_known_words.py [--freq FILE] [--dic FILE.dic] [--out DIR]
"""

import argparse
import hashlib
import io
import lzma
import pathlib
import re
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
# Word-form counts over about 6 million tokens of 19th- and early 20th-century Russian prose,
# kept here unchanged (xz-compressed) so that the lists can be made again from this folder.
DEFAULT_FREQ = ROOT / "tools" / "wordfreq" / "ru-prose-freq.txt.xz"
DEFAULT_DIC = pathlib.Path("/usr/share/hunspell/ru_RU.dic")
KNOWN_COUNT = 70000
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
    """Each lower-case entry with its forms, in dictionary order."""
    lines = dic_path.read_bytes().decode(encoding).splitlines()
    entries = []
    for line in lines[1:]:
        line = line.strip()
        if not line:
            continue
        word, _, flags = line.partition("/")
        if word != word.lower():
            continue
        forms = [word]
        for flag in flags:
            for strip, add, cond in rules.get(flag, ()):
                if cond.search(word) and word.endswith(strip):
                    forms.append(word[: len(word) - len(strip)] + add)
        entries.append(forms)
    return entries


def read_bytes(path):
    """A file's bytes, uncompressed when it is xz-compressed."""
    raw = path.read_bytes()
    return lzma.decompress(raw) if path.suffix == ".xz" else raw


def read_counts(path):
    """Counts of the frequency list by plain spelling, and the list's most frequent spelling
    of each."""
    counts, spellings = {}, {}
    with io.StringIO(read_bytes(path).decode("utf-8")) as f:
        for line in f:
            form, _, count = line.rstrip("\n").partition("\t")
            form = form.strip().lower()
            key = plain(form)
            if key:
                counts[key] = counts.get(key, 0) + int(count or 0)
                spellings.setdefault(key, {})
                spellings[key][form] = spellings[key].get(form, 0) + int(count or 0)
    return counts, {key: min(forms, key=lambda f: (-forms[f], f)) for key, forms in spellings.items()}


def hyphenated(entries, counts, spellings):
    """The hyphenated forms of the frequency list whose every part is a dictionary form or a
    particle or prefix of hyphenated words, as one-form entries, in spelling order."""
    dictionary = {plain(form) for forms in entries for form in forms}
    found = []
    for key in counts:
        parts = key.split("-")
        if len(parts) < 2:
            continue
        if all(part in dictionary or (i == 0 and part in HYPHEN_PREFIXES) or (i > 0 and part in HYPHEN_PARTICLES)
               for i, part in enumerate(parts)):
            found.append([spellings[key]])
    return sorted(found)


def known_words(entries, counts, count=KNOWN_COUNT):
    """The `count` most frequent forms, once each by plain spelling. Ties go to the form of
    the more common entry, then to the spelling, so the order never depends on chance."""
    best = {}  # plain spelling -> (rank key, form)
    for forms in entries:
        entry_count = sum(counts.get(plain(f), 0) for f in set(forms))
        for form in forms:
            if not encodable(form) or " " in form:
                continue
            key = plain(form)
            rank = (-counts.get(key, 0), -entry_count, form)
            if key not in best or rank < best[key][0]:
                best[key] = (rank, form)
    ranked = sorted(best.values())
    return [form for _, form in ranked[:count]]


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
                        help="word-frequency list (UTF-8, may be xz-compressed)")
    parser.add_argument("--dic", type=pathlib.Path, default=DEFAULT_DIC,
                        help="Hunspell dictionary; its .aff lies beside it")
    parser.add_argument("--out", type=pathlib.Path, default=ROOT / "data" / "DIC", help="output folder")
    parser.add_argument("--homographs", type=pathlib.Path, default=ROOT / "tools" / "homographs" / "homograph-source.txt")
    args = parser.parse_args()

    homs, problems = homographs(args.homographs)
    for p in problems:
        print(p, file=sys.stderr)
    if problems:
        return 1

    aff = args.dic.with_suffix(".aff")
    print(f"dictionary: {args.dic} ({package_version(args.dic)})")
    digest = hashlib.sha256(read_bytes(args.freq)).hexdigest()
    print(f"frequency list: {args.freq} ({package_version(args.freq)}, sha256 {digest})")
    encoding = hunspell_encoding(aff.read_bytes())
    entries = expand(args.dic, encoding, read_affixes(aff, encoding))
    counts, spellings = read_counts(args.freq)
    hyphen_entries = hyphenated(entries, counts, spellings)
    known = known_words(entries + hyphen_entries, counts)

    args.out.mkdir(parents=True, exist_ok=True)
    write(args.out / "70000.txt", known)
    write(args.out / "homograph.txt", homs)
    print(f"70000.txt: {len(known)} words from {len(entries)} entries and {len(hyphen_entries)} hyphenated forms "
          f"({sum('-' in w for w in known)} kept); homograph.txt: {len(homs)} forms")
    return 0


if __name__ == "__main__":
    sys.exit(main())
