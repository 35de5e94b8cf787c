#!/usr/bin/env python3
"""Writes the seed corpus of every fuzz target into fuzz/corpus/<target>/seed-*.

Seeds are small, hand-made inputs that reach each parser's branches; the fuzzer grows its own
corpus from them (scripts/fuzz keeps that outside the repository). Inputs that once broke a
target are kept beside them as regression-* files and are never rewritten by this script."""
import os
import struct
import zlib

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


def put(target, name, data):
    folder = os.path.join(ROOT, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "seed-" + name), "wb") as f:
        f.write(data)


def gbk(text):
    return text.encode("gbk")


def pack(data, stated=None):
    header = struct.pack("<II", 0x033E0F0D, len(data) if stated is None else stated)
    return header + (zlib.compress(data) if data else b"")


def record(text, level, image=0, selected=0, data=0, flags=0):
    return text + b"\0" + struct.pack("<iiiii", image, selected, data, flags, level)


def tree(*records):
    return b"".join(records)


sample_tree = tree(record(gbk("解表药"), 1, 1, 1, 0, 2), record(gbk("发散风寒药"), 2, 2, 2, 7),
                   record(gbk("麻黄"), 3, 3, 3, 8, 1), record(gbk("清热药"), 1, 0, 0, 0, 0x30000000))
odd_tree = tree(record(b"a", 5), record(b"b", 1), record(b"c", 9), record(b"", 2),
                record(b"d\x1ae", 3), record(b"\x81", 1), record(b"f", -1))

put("pack", "text", pack(gbk("麻黄 发汗解表") * 20))
put("pack", "header-only", pack(b""))
put("pack", "length-lies", pack(b"x" * 300, 10))
put("pack", "cut", pack(b"abc" * 100)[:-5])
put("pack", "tree", pack(sample_tree))

for target in ("tree_content", "parse_content"):
    put(target, "sample", sample_tree)
    put(target, "odd-levels", odd_tree)
    put(target, "cut", sample_tree[:-3])
    put(target, "empty-texts", tree(record(b"", 1), record(b"", 2)))

put("codec", "gbk", gbk("甘草，味甘性平。") + b"abc")
put("codec", "utf8", "当归 补血".encode("utf-8"))
put("codec", "half-character", gbk("黄芪")[:-1])
put("codec", "bad-bytes", b"\xff\x80\x81\x00\x7f\xfe\xfe")
put("codec", "overlong", b"\xc0\xa7\xe0\x80\xa7\xc1\xbf")
put("codec", "surrogate", b"\xed\xa0\x80\xed\xbf\xbf")
put("codec", "utf16", "人参€".encode("utf-16-le") + b"\x00\xd8")

put("memory_file", "records", b"\x00" + sample_tree)
put("memory_file", "stops", b"\x85" + b"ab\x1acd\x00\x81\x00\xb0\xa1\x1a")
put("memory_file", "negative-count", b"\x7f" + gbk("熟地黄"))
put("memory_file", "lead-at-end", b"\x83" + b"xy\xb0")

for i, cond in enumerate([b"a='x'", b"b>2", b"1", b"c IS NULL", b"a LIKE '%_%'", b"1 /*", b"b=1; DELETE FROM t",
                          b"0) UNION SELECT 1 --", b"a='y''z'", b"a=" + gbk("'甘草'"),
                          b"\xff\xfe", b"b IN (SELECT b FROM t)"]):
    put("table_find", "%02d" % i, cond)


def pieces(*parts):
    out = b"\x01"  # store as text
    for p in parts:
        out += bytes([len(p)]) + p
    return out


put("entry_view", "texts", pieces(*[("字段%d" % i).encode("utf-8") for i in range(18)]) +
    b"\x20" + pack(sample_tree) + b"\x02" + "字段".encode("utf-8"))
put("entry_view", "blobs", b"\x00" + bytes([3]) + b"\xff\xfe\x00" + bytes([1]) + b"\x80")
put("entry_view", "quotes", pieces(*([b"'--", b"%", b"_", b"/*", b"'; DROP TABLE zymm; --"] * 4)))
