#!/usr/bin/env python3
"""Checks the sample content in this folder before it goes into kelmor.db.

Usage: python3 check.py [folder]   (default: the folder of this script)
Exit status 0 when every rule holds; otherwise 1, with one line per fault on stderr.
"""

import os
import re
import subprocess
import sys

HERB_COLUMNS = ["类别", "药物名称", "英文名称", "别名", "来源", "植物形态1", "植物形态2", "生长地",
                "采制", "化学成分", "性味", "功能主治", "附注"]
RX_COLUMNS = ["类别", "药方名称", "配方", "制法", "功用", "禁忌", "备注"]

# (minimum, maximum) length in characters; a minimum of 0 allows an empty field.
HERB_BOUNDS = {
    "类别": (2, 8), "药物名称": (2, 4), "英文名称": (4, 60), "别名": (2, 60),
    "来源": (10, 60), "植物形态1": (10, 60), "植物形态2": (0, 60), "生长地": (10, 60),
    "采制": (10, 60), "化学成分": (10, 60), "性味": (6, 60), "功能主治": (50, 110),
    "附注": (10, 60),
}
RX_BOUNDS = {
    "类别": (2, 8), "药方名称": (2, 8), "配方": (10, 130), "制法": (10, 60), "功用": (20, 110),
    "禁忌": (10, 60), "备注": (10, 60),
}

MIN_HERBS, MIN_HERB_CATEGORIES = 100, 15
MIN_RX, MIN_RX_CATEGORIES = 40, 10

# The editor strips these from prescription fields on save, so content must not rely on them.
SPACE_STRIPPED = ["配方", "制法", "功用", "禁忌", "备注"]
# The application puts values between single quotes in its SQL; an apostrophe would break it.
# Half-width punctuation would mix with the full-width punctuation used throughout.
FORBIDDEN_ASCII = set("'\",;:()!?[]")
# One recipe item: herb name (processing prefix allowed), amount, unit.
RECIPE_ITEM = re.compile(r"^[^\d，。；、]+?\d+(\.\d+)?(克|枚|片|毫升)$")

faults = []


def fault(where, message):
    faults.append(f"{where}: {message}")


def read_table(path, columns):
    """Returns the rows as dicts, or None when the file cannot be used at all."""
    name = os.path.basename(path)
    try:
        raw = open(path, "rb").read()
    except OSError as e:
        fault(name, f"cannot read: {e}")
        return None
    if raw.startswith(b"\xef\xbb\xbf"):
        fault(name, "starts with a byte order mark; write UTF-8 without one")
    if b"\r" in raw:
        fault(name, "contains CR; lines end with LF only")
    if raw and not raw.endswith(b"\n"):
        fault(name, "last line does not end with LF")
    try:
        text = raw.decode("utf-8")
    except UnicodeDecodeError as e:
        fault(name, f"not valid UTF-8: {e}")
        return None
    lines = text.split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    if not lines:
        fault(name, "empty file")
        return None
    header = lines[0].lstrip("\ufeff").split("\t")
    if header != columns:
        fault(name, f"header is {header}, expected {columns}")
        return None
    rows = []
    for number, line in enumerate(lines[1:], start=2):
        fields = line.split("\t")
        if len(fields) != len(columns):
            fault(f"{name}:{number}", f"{len(fields)} fields, expected {len(columns)}")
            continue
        row = dict(zip(columns, fields))
        row["_where"] = f"{name}:{number}"
        rows.append(row)
    return rows


def check_iconv(path):
    """glibc's CP936 is what the program converts with; Python's gbk codec alone is not enough."""
    name = os.path.basename(path)
    try:
        result = subprocess.run(["iconv", "-f", "UTF-8", "-t", "CP936", path],
                                capture_output=True)
    except OSError as e:
        fault(name, f"cannot run iconv: {e}")
        return
    if result.returncode != 0:
        fault(name, "iconv -f UTF-8 -t CP936 failed: " +
              result.stderr.decode("utf-8", "replace").strip())
        return
    back = subprocess.run(["iconv", "-f", "CP936", "-t", "UTF-8"], input=result.stdout,
                          capture_output=True)
    if back.returncode != 0 or back.stdout != open(path, "rb").read():
        fault(name, "does not survive the round trip UTF-8 -> CP936 -> UTF-8 unchanged")


def check_fields(rows, columns, bounds, name_column, space_stripped):
    for row in rows:
        where = row["_where"]
        for column in columns:
            value = row[column]
            low, high = bounds[column]
            if value != value.strip():
                fault(where, f"{column} has leading or trailing white space")
            if not low <= len(value) <= high:
                fault(where, f"{column} has {len(value)} characters, allowed {low} to {high}: "
                      f"{value!r}")
            try:
                value.encode("gbk")
            except UnicodeEncodeError as e:
                fault(where, f"{column} not representable in GBK: {value[e.start:e.end]!r}")
            bad = sorted(set(value) & FORBIDDEN_ASCII)
            if bad:
                fault(where, f"{column} contains {''.join(bad)!r}; use full-width punctuation "
                      "and no apostrophes")
            if column in space_stripped and (" " in value or "\u3000" in value):
                fault(where, f"{column} contains a space, which the editor would remove")
            if column != "英文名称" and re.search(r"[\u3000\u00a0]", value):
                fault(where, f"{column} contains a full-width or no-break space")
        if "英文名称" in row and not re.fullmatch(r"[A-Za-z]+( [A-Za-z]+)*", row["英文名称"]):
            fault(where, f"英文名称 must be Latin words separated by single spaces: "
                  f"{row['英文名称']!r}")


def check_names(rows, name_column, other_categories, label):
    categories = []
    names = {}
    for row in rows:
        if row["类别"] not in categories:
            categories.append(row["类别"])
        name = row[name_column]
        if name in names:
            fault(row["_where"], f"{name_column} {name!r} already used at {names[name]}")
        else:
            names[name] = row["_where"]
    # Rows of one category must stay together so the file reads like the tree it becomes.
    seen_closed = set()
    previous = None
    for row in rows:
        cat = row["类别"]
        if cat != previous:
            if cat in seen_closed:
                fault(row["_where"], f"category {cat!r} appears again after other categories")
            if previous is not None:
                seen_closed.add(previous)
            previous = cat
    all_categories = set(categories) | set(other_categories)
    for name, where in names.items():
        if name in all_categories:
            fault(where, f"{name_column} {name!r} equals a category name")
    return categories, names


def check_recipes(rx_rows, herb_rows):
    herb_names = {r["药物名称"] for r in herb_rows}
    alias_of = {}
    for r in herb_rows:
        for alias in re.split("[，、]", r["别名"]):
            if alias and alias not in herb_names:
                alias_of[alias] = r["药物名称"]
    for row in rx_rows:
        for item in row["配方"].split("，"):
            if not RECIPE_ITEM.match(item):
                fault(row["_where"], f"配方 item {item!r} is not name + amount + unit "
                      "(克, 枚, 片 or 毫升), items separated by ，")
                continue
            herb = re.match(r"^[^\d]+", item).group(0)
            if herb in alias_of:
                fault(row["_where"], f"配方 writes {herb!r}; herbs.tsv calls it "
                      f"{alias_of[herb]!r}")


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    herbs_path = os.path.join(folder, "herbs.tsv")
    rx_path = os.path.join(folder, "prescriptions.tsv")
    herbs = read_table(herbs_path, HERB_COLUMNS)
    rx = read_table(rx_path, RX_COLUMNS)
    for path in (herbs_path, rx_path):
        if os.path.exists(path):
            check_iconv(path)
    herb_categories, rx_categories = [], []
    if herbs is not None:
        check_fields(herbs, HERB_COLUMNS, HERB_BOUNDS, "药物名称", [])
    if rx is not None:
        check_fields(rx, RX_COLUMNS, RX_BOUNDS, "药方名称", SPACE_STRIPPED)
    if herbs is not None:
        herb_categories = list(dict.fromkeys(r["类别"] for r in herbs))
    if rx is not None:
        rx_categories = list(dict.fromkeys(r["类别"] for r in rx))
    if herbs is not None:
        check_names(herbs, "药物名称", rx_categories, "herbs")
        if len(herbs) < MIN_HERBS:
            fault("herbs.tsv", f"{len(herbs)} herbs, at least {MIN_HERBS} required")
        if len(herb_categories) < MIN_HERB_CATEGORIES:
            fault("herbs.tsv", f"{len(herb_categories)} categories, at least "
                  f"{MIN_HERB_CATEGORIES} required")
    if rx is not None:
        check_names(rx, "药方名称", herb_categories, "prescriptions")
        if len(rx) < MIN_RX:
            fault("prescriptions.tsv", f"{len(rx)} prescriptions, at least {MIN_RX} required")
        if len(rx_categories) < MIN_RX_CATEGORIES:
            fault("prescriptions.tsv", f"{len(rx_categories)} categories, at least "
                  f"{MIN_RX_CATEGORIES} required")
        if herbs is not None:
            check_recipes(rx, herbs)
    if faults:
        for line in faults:
            print(line, file=sys.stderr)
        print(f"content check FAILED: {len(faults)} fault(s)", file=sys.stderr)
        return 1
    print(f"content check passed: {len(herbs)} herbs in {len(herb_categories)} categories, "
          f"{len(rx)} prescriptions in {len(rx_categories)} categories")
    return 0


if __name__ == "__main__":
    sys.exit(main())
