#!/usr/bin/env python3
"""Writes the help pages data/HELP/HelpN.rtf from their plain sources tools/help/HelpN.txt.

A source is UTF-8 text: the first line is the title, a line starting "- " is a list item,
any other line is a paragraph. The pages are Windows-1251 RTF, as the program reads them.
"""
import pathlib

ROOT = pathlib.Path(__file__).resolve().parent
OUT = ROOT.parent / "data" / "HELP"


def escape(text):
    out = []
    for ch in text:
        if ch in "\\{}":
            out.append("\\" + ch)
        elif ch == "\t":
            out.append("\\tab ")
        elif ord(ch) < 128:
            out.append(ch)
        else:
            out.append("\\'%02x" % ch.encode("cp1251")[0])
    return "".join(out)


def page(lines):
    body = ["\\pard\\sa200\\b\\fs32 " + escape(lines[0]) + "\\b0\\fs24\\par"]
    for line in lines[1:]:
        if line.startswith("- "):
            body.append("\\pard\\li360\\sa80 \\'95 " + escape(line[2:]) + "\\par")
        elif line.strip():
            body.append("\\pard\\sa120 " + escape(line) + "\\par")
    return ("{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049{\\fonttbl{\\f0 DejaVu Sans;}}\r\n"
            "\\f0\\fs24\r\n" + "\r\n".join(body) + "\r\n}\r\n")


for source in sorted(ROOT.glob("help/Help*.txt")):
    lines = source.read_text(encoding="utf-8").splitlines()
    (OUT / (source.stem + ".rtf")).write_bytes(page(lines).encode("ascii"))
