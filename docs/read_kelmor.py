#!/usr/bin/env python3
"""Prints both saved trees of a kelmor.db, read straight from table lbsj (see file-format.md).

    python3 docs/read_kelmor.py build/release/program/kelmor.db [--verify]

--verify also rebuilds each tree from its category table (zylb, yflb) the way the program does
and checks that the saved copy holds exactly those bytes: it fails when the saved tree is stale
(a category table changed behind the program's back) or when this description is wrong.
Python 3 standard library only.
"""
import codecs
import pathlib
import sqlite3
import struct
import sys
import zlib

MAGIC = 0x033E0F0D
COLLECTIONS = [(1, "herbs", "zylb"), (2, "prescriptions", "yflb")]
BOLD, EXPANDED = 0x1, 0x2


def _cp936_euro(error):
    """Code page 936 holds the euro sign as the single byte 0x80, which Python's gbk codec lacks;
    any other byte that is no GBK reads as U+FFFD, as the program shows it."""
    if isinstance(error, UnicodeDecodeError):
        if error.object[error.start] == 0x80:
            return "\u20ac", error.start + 1
        return "\ufffd", error.end
    if isinstance(error, UnicodeEncodeError) and error.object[error.start] == "\u20ac":
        return b"\x80", error.start + 1
    raise error


codecs.register_error("cp936", _cp936_euro)


def unpack(value):
    """lbsj.sj -> the TreeContent bytes; b"" where the program would show an empty tree."""
    if value is None or len(value) < 8:
        return b""
    magic, length = struct.unpack_from("<II", value)
    stream = value[8:]
    # No deflate stream grows more than 1032-fold; the program refuses a length beyond that.
    if magic != MAGIC or length == 0 or not stream or length > len(stream) * 1032 + 64:
        return b""
    try:
        content = zlib.decompress(stream)
    except zlib.error:
        return b""
    # The program inflates into 2 * length bytes; a stream that needs more does not unpack.
    return content if len(content) <= 2 * length else b""


def parse(content):
    """TreeContent -> [(text, image, selected_image, data, flags, level)]; a cut record is dropped."""
    records, pos = [], 0
    while pos < len(content):
        end = content.find(b"\0", pos)
        if end < 0 or len(content) - (end + 1) < 20:
            break
        numbers = struct.unpack_from("<5i", content, end + 1)
        records.append((content[pos:end].decode("gbk", errors="cp936"),) + numbers)
        pos = end + 1 + 20
    return records


def serialize(records):
    return b"".join(
        text.encode("gbk", errors="cp936") + b"\0" + struct.pack("<5i", *numbers)
        for text, *numbers in records
    )


def build(db, table):
    """The tree the program builds from a category table, as TreeContent records."""
    nodes = []  # [text, data, bold, children]
    top, first_with_data = [], {}
    rows = db.execute(f"select * from {table} ORDER BY xm")
    columns = [d[0].lower() for d in rows.description]
    for values in rows:
        row = dict(zip(columns, values))
        name, xm, node_id = row["type"], row["xm"] or 0, row["id"] or 0
        if not name:
            continue
        node = [name, node_id, xm == 0, []]
        parent = first_with_data.get(xm) if xm != 0 else None
        (parent[3] if parent else top).append(node)
        nodes.append(node)
        first_with_data.setdefault(node_id, node)  # ids are unique in a sound table
    out = []

    def walk(children, level):
        for text, data, bold, grandchildren in children:
            out.append((text, 1, 0, data, BOLD if bold else 0, level))
            walk(grandchildren, level + 1)

    walk(top, 1)
    return out


def main(argv):
    args = [a for a in argv[1:] if a != "--verify"]
    if len(args) != 1:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    path = pathlib.Path(args[0])
    if not path.is_file():
        print(f"read_kelmor: no file {path}", file=sys.stderr)
        return 1
    db = sqlite3.connect(path.resolve().as_uri() + "?mode=ro", uri=True)  # never creates a file
    ok = True
    for row_id, title, table in COLLECTIONS:
        row = db.execute("select sj from lbsj where id=?", (row_id,)).fetchone()
        content = unpack(row[0] if row else None)
        records = parse(content)
        print(f"== {title}: lbsj id={row_id}, {len(records)} items, {len(content)} bytes unpacked")
        for text, image, selected, data, flags, level in records:
            marks = "".join(m for bit, m in ((BOLD, " bold"), (EXPANDED, " expanded")) if flags & bit)
            print(f"{'  ' * (level - 1)}{text}  [data {data}, images {image}/{selected}{marks}]")
        if "--verify" in argv:
            expected = serialize(build(db, table))
            same = expected == content
            ok = ok and same
            print(f"-- {table} rebuilt: {'same bytes as saved' if same else 'DIFFERS from saved'}")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
