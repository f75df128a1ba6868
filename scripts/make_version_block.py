#!/usr/bin/env python3
"""Turns a version description into a C++ source that embeds a standard
VS_VERSIONINFO block in its own ELF section ("vs_version_info").

Description format (one item per line, '#' starts a comment):
    FileVersion 1.7.0.0
    ProductVersion 1.7.0.0
    Translation 0409 04E4          (may repeat; the first is the main one)
    [040904E4]                     (a string table, named as it is stored)
    CompanyName=QUARNEL            (values may use \\0 for a NUL and \\\\ for a backslash)
A description with the single line "NoBlock" generates no section at all.
"""
import struct
import sys


def utf16z(text):
    return text.encode("utf-16-le") + b"\0\0"


def pad4(data):
    return data + b"\0" * (-len(data) % 4)


def node(key, value=b"", value_length=0, text=True, children=()):
    body = pad4(struct.pack("<HHH", 0, value_length, 1 if text else 0) + utf16z(key))
    body += value
    for child in children:
        body = pad4(body) + child
    return struct.pack("<H", len(body)) + body[2:]


def unescape(value):
    out, i = [], 0
    while i < len(value):
        if value[i] == "\\" and i + 1 < len(value):
            out.append({"0": "\0", "\\": "\\"}.get(value[i + 1], value[i + 1]))
            i += 2
        else:
            out.append(value[i])
            i += 1
    return "".join(out)


def version_words(text):
    parts = [int(p) for p in text.split(".")] + [0, 0, 0, 0]
    return (parts[0] << 16 | parts[1], parts[2] << 16 | parts[3])


def parse(path):
    desc = {"FileVersion": "0.0.0.0", "ProductVersion": "0.0.0.0", "Translation": [], "tables": []}
    for raw in open(path, encoding="utf-8"):
        line = raw.rstrip("\n")
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        if line.strip() == "NoBlock":
            return None
        if line.startswith("["):
            desc["tables"].append((line.strip()[1:-1], []))
        elif desc["tables"]:
            name, _, value = line.partition("=")
            desc["tables"][-1][1].append((name.strip(), unescape(value)))
        else:
            key, _, rest = line.partition(" ")
            if key == "Translation":
                lang, codepage = rest.split()
                desc["Translation"].append((int(lang, 16), int(codepage, 16)))
            else:
                desc[key] = rest.strip()
    return desc


def build(desc):
    fms, fls = version_words(desc["FileVersion"])
    pms, pls = version_words(desc["ProductVersion"])
    fixed = struct.pack("<13I", 0xFEEF04BD, 0x00010000, fms, fls, pms, pls,
                        0x3F, 0, 0x40004, 1, 0, 0, 0)
    tables = []
    for name, strings in desc["tables"]:
        entries = [node(k, utf16z(v), len(v) + 1) for k, v in strings]
        tables.append(node(name, children=entries))
    translations = b"".join(struct.pack("<HH", l, c) for l, c in desc["Translation"])
    var = node("Translation", translations, len(translations), text=False)
    children = [node("StringFileInfo", children=tables), node("VarFileInfo", children=[var])]
    return node("VS_VERSION_INFO", fixed, len(fixed), text=False, children=children)


def main():
    desc = parse(sys.argv[1])
    with open(sys.argv[2], "w", encoding="ascii") as out:
        out.write("// Generated from %s; do not edit.\n" % sys.argv[1].split("/")[-1])
        if desc is None:
            return
        block = build(desc)
        out.write("[[gnu::used, gnu::section(\"vs_version_info\"), gnu::aligned(4)]]\n")
        out.write("const unsigned char kVersionBlock[%d] = {\n" % len(block))
        for i in range(0, len(block), 16):
            out.write("    " + ", ".join("0x%02x" % b for b in block[i:i + 16]) + ",\n")
        out.write("};\n")


if __name__ == "__main__":
    main()
