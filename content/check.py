#!/usr/bin/env python3
"""Checks the sample content in this folder before it goes into kelmor.db.

Usage: python3 check.py [folder]   (default: the folder of this script)
Exit status 0 when every rule holds; otherwise 1, with one line per fault on stderr, each
naming the file and line ("herbs.tsv:12: ...").
"""

import os
import re
import subprocess
import sys

HERB_COLUMNS = ["类别", "药物名称", "英文名称", "别名", "来源", "植物形态1", "植物形态2", "生长地",
                "采制", "化学成分", "性味", "功能主治", "附注"]
RX_COLUMNS = ["类别", "药方名称", "配方", "制法", "功用", "禁忌", "备注"]

# The chapters in the order a course of materia medica and of formulary treats them; the files
# hold exactly these, in this order.
HERB_CHAPTERS = ["解表药", "清热药", "泻下药", "祛风湿药", "化湿药", "利水渗湿药", "温里药", "理气药",
                 "消食药", "驱虫药", "止血药", "活血化瘀药", "化痰止咳平喘药", "安神药", "平肝息风药",
                 "开窍药", "补虚药", "收涩药", "涌吐药", "攻毒杀虫止痒药", "拔毒化腐生肌药"]
RX_CHAPTERS = ["解表剂", "泻下剂", "和解剂", "清热剂", "祛暑剂", "温里剂", "表里双解剂", "补益剂",
               "固涩剂", "安神剂", "开窍剂", "理气剂", "理血剂", "治风剂", "治燥剂", "祛湿剂", "祛痰剂",
               "消食剂", "驱虫剂", "涌吐剂"]
MIN_HERBS, MIN_RX, MIN_PER_CHAPTER, MIN_PER_LARGE_CHAPTER = 400, 200, 3, 30
LARGE_HERB_CHAPTERS = {"清热药", "补虚药", "活血化瘀药", "化痰止咳平喘药", "解表药"}
MIN_PER_LARGE_RX_CHAPTER = 15
LARGE_RX_CHAPTERS = {"解表剂", "清热剂", "补益剂", "祛湿剂", "理血剂"}

# (minimum, maximum) length in characters; a minimum of 0 allows an empty field.
HERB_BOUNDS = {
    "类别": (2, 8), "药物名称": (2, 5), "英文名称": (4, 60), "别名": (2, 60),
    "来源": (10, 60), "植物形态1": (10, 60), "植物形态2": (0, 60), "生长地": (10, 60),
    "采制": (10, 60), "化学成分": (10, 60), "性味": (6, 60), "功能主治": (50, 110),
    "附注": (10, 80),
}
RX_BOUNDS = {
    "类别": (2, 8), "药方名称": (2, 10), "配方": (4, 200), "制法": (5, 60), "功用": (20, 110),
    "禁忌": (5, 60), "备注": (10, 60),
}

# 性味: tastes, then the nature, then 归 and the channels: "辛、微苦，温。归肺、膀胱经。"
TASTES = "酸苦甘辛咸淡涩"
NATURES = {"寒", "热", "温", "凉", "微寒", "大寒", "微温", "大热", "微热", "微凉", "平"}
CHANNELS = {"心", "肝", "脾", "肺", "肾", "胃", "胆", "大肠", "小肠", "膀胱", "三焦", "心包"}
NATURE_TASTE = re.compile(r"^(?P<tastes>[^，。]+)，(?P<nature>[^，。]+)。归(?P<channels>[^。]+)经。$")

# Ingredients of classical prescriptions that are foods and drinks, or drugs a course does not
# treat, with no entry of their own in the book; a 配方 may name them although herbs.tsv does not.
NON_BOOK_INGREDIENTS = {"粳米", "小麦", "白酒", "黄酒", "清酒", "米醋", "食盐", "冰糖", "金箔",
                        "童便", "蜂蜜", "葱白", "饴糖", "鸡子黄", "梨皮", "西瓜翠衣", "硝石"}
# Ingredients that a course treats with the herb they come from rather than as a herb of their
# own (the herb they come from must be in the book).
PART_OF = {"茯神": "茯苓", "茯苓皮": "茯苓", "莲须": "莲子", "荷叶": "莲子", "荷梗": "莲子",
           "扁豆花": "白扁豆", "椒目": "花椒", "人参芦": "人参", "龟甲胶": "龟甲", "冬瓜子": "冬瓜皮",
           "猪牙皂": "皂荚", "皂角刺": "皂荚"}
# Prefixes that name a way of processing and suffixes that name a part of the drug: 炙甘草,
# 酒大黄, 煅龙骨, 焦山楂, 当归尾, 甘草梢. Tried only when the whole name is no herb of the book.
PROCESSING_PREFIXES = ["麸炒", "土炒", "炙", "生", "炒", "制", "酒", "醋", "蜜", "煅", "焦", "炮",
                       "盐", "姜", "法", "清", "鲜", "熟", "净"]
PART_SUFFIXES = ["尾", "梢", "身", "头", "穗", "炭", "粉", "末", "汁"]

# 十八反 and 十九畏: a herb of the book on either side names every herb of the other side in
# its 附注, whether or not that herb is in the book (犀角 is not: 水牛角 stands in for it).
INCOMPATIBLE = [
    ("十八反", ["甘草"], ["甘遂", "京大戟", "红大戟", "海藻", "芫花"]),
    ("十八反", ["川乌", "草乌", "附子"],
     ["半夏", "瓜蒌", "天花粉", "川贝母", "浙贝母", "白蔹", "白及"]),
    ("十八反", ["藜芦"], ["人参", "西洋参", "党参", "南沙参", "北沙参", "丹参", "玄参", "苦参", "细辛",
                        "白芍", "赤芍"]),
    ("十九畏", ["硫黄"], ["芒硝"]),
    ("十九畏", ["水银"], ["砒石"]),
    ("十九畏", ["狼毒"], ["密陀僧"]),
    ("十九畏", ["巴豆"], ["牵牛子"]),
    ("十九畏", ["丁香"], ["郁金"]),
    ("十九畏", ["川乌", "草乌"], ["犀角"]),
    ("十九畏", ["芒硝"], ["三棱"]),
    ("十九畏", ["肉桂"], ["赤石脂"]),
    ("十九畏", ["人参"], ["五灵脂"]),
]
# Herbs of the book that are a form or part of a herb above and share its incompatibilities.
INCOMPATIBLE_FORMS = {"瓜蒌子": "瓜蒌", "瓜蒌皮": "瓜蒌", "玄明粉": "芒硝", "平贝母": "川贝母",
                      "伊贝母": "川贝母", "湖北贝母": "浙贝母", "砒霜": "砒石"}
# How a 附注 names the herbs not to be used with: 不宜与半夏、瓜蒌同用.
NOT_WITH = re.compile(r"不宜与([^，。；]+?)同用")

# Herbs known to be poisonous; each one's 附注 says 有毒, 有小毒 or 有大毒, and those marked
# 大 say 有大毒.
TOXIC_HERBS = {
    "川乌": "大", "草乌": "大", "马钱子": "大", "巴豆": "大", "斑蝥": "大", "砒石": "大",
    "红粉": "大", "升药": "大", "天仙子": "大", "闹羊花": "大", "雷公藤": "大",
    "附子": "", "半夏": "", "天南星": "", "白附子": "", "甘遂": "", "京大戟": "", "芫花": "",
    "商陆": "", "牵牛子": "", "千金子": "", "狼毒": "", "朱砂": "", "雄黄": "", "轻粉": "",
    "铅丹": "", "密陀僧": "", "硫黄": "", "蟾酥": "", "全蝎": "", "蜈蚣": "", "蕲蛇": "",
    "金钱白花蛇": "", "洋金花": "", "罂粟壳": "", "白果": "", "苍耳子": "", "山豆根": "",
    "常山": "", "瓜蒂": "", "藜芦": "", "仙茅": "", "苦楝皮": "", "干漆": "", "蓖麻子": "",
    "木鳖子": "", "大风子": "", "土荆皮": "", "樟脑": "", "香加皮": "", "两头尖": "",
    "苦杏仁": "", "桃仁": "", "吴茱萸": "", "川楝子": "", "细辛": "", "艾叶": "", "蛇床子": "",
    "鸦胆子": "", "水蛭": "", "土鳖虫": "", "虻虫": "", "北豆根": "", "重楼": "", "蒺藜": "",
    "贯众": "", "绵马贯众": "", "鹤虱": "", "皂荚": "", "猪牙皂": "", "山慈菇": "",
    "急性子": "", "丁公藤": "", "红大戟": "", "泽漆": "", "黄药子": "", "胆矾": "",
}
TOXICITY = re.compile(r"有(小|大)?毒")

# The editor strips these from prescription fields on save, so content must not rely on them.
SPACE_STRIPPED = ["配方", "制法", "功用", "禁忌", "备注"]
# The application puts values between single quotes in its SQL; an apostrophe would break it.
# Half-width punctuation would mix with the full-width punctuation used throughout.
FORBIDDEN_ASCII = set("'\",;:()!?[]")
# One recipe item: herb name (processing prefix allowed), amount, unit.
RECIPE_ITEM = re.compile(r"^(?P<name>[^\d，。；、]+?)\d+(\.\d+)?(克|枚|片|毫升|条|只)$")
SOURCE = re.compile(r"出自《[^》]+》")

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


def check_fields(rows, columns, bounds, space_stripped):
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


def check_chapters(rows, file, chapters, large, minimum_large):
    """Every chapter, in the standard order, its rows together, each with its minimum count."""
    counts = {}
    previous = None
    for row in rows:
        chapter = row["类别"]
        if chapter not in chapters:
            fault(row["_where"], f"类别 {chapter!r} is none of the chapters {chapters}")
        elif chapter != previous and (previous is None or previous in chapters):
            expected = chapters[chapters.index(previous) + 1] if previous else chapters[0]
            if chapter != expected:
                fault(row["_where"], f"chapter {chapter!r} follows {previous!r}; the standard "
                      f"order has {expected!r} next")
        previous = chapter
        counts[chapter] = counts.get(chapter, 0) + 1
    for chapter in chapters:
        needed = minimum_large if chapter in large else MIN_PER_CHAPTER
        if counts.get(chapter, 0) < needed:
            fault(file, f"chapter {chapter!r} has {counts.get(chapter, 0)} entries, at least "
                  f"{needed} required")
    return counts


def check_names(rows, name_column):
    names = {}
    for row in rows:
        name = row[name_column]
        if name in names:
            fault(row["_where"], f"{name_column} {name!r} already used at {names[name]}")
        else:
            names[name] = row["_where"]
        if name in HERB_CHAPTERS or name in RX_CHAPTERS:
            fault(row["_where"], f"{name_column} {name!r} equals a chapter name")
    return names


def check_aliases(rows):
    """An alias names one herb only, and no other herb is called by it: a 配方 that uses it
    would otherwise point at the wrong herb."""
    names = {r["药物名称"]: r["_where"] for r in rows}
    owner = {}
    for row in rows:
        for alias in row["别名"].split("、"):
            if alias in names and alias != row["药物名称"]:
                fault(row["_where"], f"别名 {alias!r} is the name of the herb at {names[alias]}")
            elif alias in owner and owner[alias] != row["_where"]:
                fault(row["_where"], f"别名 {alias!r} is also an alias of the herb at "
                      f"{owner[alias]}")
            owner.setdefault(alias, row["_where"])


def check_nature_taste(row):
    value = row["性味"]
    if "毒" in value:
        fault(row["_where"], f"性味 {value!r} speaks of toxicity; that belongs in 附注")
        return
    m = NATURE_TASTE.match(value)
    if not m:
        fault(row["_where"], f"性味 {value!r} is not tastes，nature。归channels经。")
        return
    tastes = m.group("tastes").split("、")
    for taste in tastes:
        if not re.fullmatch(f"微?[{TASTES}]", taste):
            fault(row["_where"], f"性味 taste {taste!r} is not one of {TASTES} (微 allowed)")
    if m.group("nature") not in NATURES:
        fault(row["_where"], f"性味 nature {m.group('nature')!r} is not one of 寒 热 温 凉 平 "
              "(微, 大 allowed)")
    channels = m.group("channels").split("、")
    for channel in channels:
        if channel not in CHANNELS:
            fault(row["_where"], f"性味 channel {channel!r} is none of the twelve channels")
    for listed, what in ((tastes, "taste"), (channels, "channel")):
        if len(set(listed)) != len(listed):
            fault(row["_where"], f"性味 names a {what} twice: {value!r}")


def check_cautions(row):
    name, note = row["药物名称"], row["附注"]
    grade = TOXIC_HERBS.get(name)
    if grade is not None:
        m = TOXICITY.search(note)
        if not m:
            fault(row["_where"], f"{name} is poisonous; 附注 must say 有毒, 有小毒 or 有大毒")
        elif grade == "大" and m.group(1) != "大":
            fault(row["_where"], f"{name} is highly poisonous; 附注 must say 有大毒")
    side_of = INCOMPATIBLE_FORMS.get(name, name)
    for rule, one, other in INCOMPATIBLE:
        for mine, theirs in ((one, other), (other, one)):
            if side_of in mine:
                missing = [opposite for opposite in theirs if opposite not in note]
                if missing:
                    fault(row["_where"], f"{name} is in {rule}; 附注 must name "
                          f"{'、'.join(missing)}")


def named_not_with(note):
    return {name for m in NOT_WITH.finditer(note) for name in m.group(1).split("、")}


def pair_rule(a, b):
    """十八反 or 十九畏 when the two herbs (or the herbs they are forms of) are a pair; else None."""
    a, b = INCOMPATIBLE_FORMS.get(a, a), INCOMPATIBLE_FORMS.get(b, b)
    for rule, one, other in INCOMPATIBLE:
        if (a in one and b in other) or (a in other and b in one):
            return rule
    return None


def check_pairs_named_both_ways(rows):
    """A reader who looks up either herb of a pair learns of the other: when one 附注 names a
    herb of the book as its opposite, that herb's 附注 names it back, by the same name."""
    by_name = {r["药物名称"]: r for r in rows}
    for row in rows:
        name = row["药物名称"]
        for other in sorted(named_not_with(row["附注"])):
            theirs, rule = by_name.get(other), pair_rule(name, other)
            if theirs and rule and name not in named_not_with(theirs["附注"]):
                fault(theirs["_where"], f"{other} and {name} are a pair of {rule} named by "
                      f"{name} only; 附注 must name {name}")


def check_recipes(rx_rows, herb_rows):
    herb_names = {r["药物名称"] for r in herb_rows}
    alias_of = {}
    for r in herb_rows:
        for alias in re.split("[，、]", r["别名"]):
            if alias and alias not in herb_names:
                alias_of.setdefault(alias, r["药物名称"])
    for name in sorted(NON_BOOK_INGREDIENTS & herb_names):
        fault("check.py", f"{name} is listed as no herb of the book, but herbs.tsv has it")
    for part, herb in sorted(PART_OF.items()):
        if part in herb_names or herb not in herb_names:
            fault("check.py", f"PART_OF {part} -> {herb} does not fit herbs.tsv")

    def resolve(name):
        """(herb of the book or None, reason when the name is not fine)."""
        if name in herb_names:
            return name, None
        if name in NON_BOOK_INGREDIENTS:
            return None, None
        if name in PART_OF:
            return PART_OF[name], None
        if name in alias_of:
            return None, f"herbs.tsv calls it {alias_of[name]!r}"
        for prefix in PROCESSING_PREFIXES:
            if name.startswith(prefix) and len(name) > len(prefix) + 1:
                herb, reason = resolve(name[len(prefix):])
                if reason is None:
                    return herb, None
        for suffix in PART_SUFFIXES:
            if name.endswith(suffix) and len(name) > len(suffix) + 1:
                herb, reason = resolve(name[:-len(suffix)])
                if reason is None:
                    return herb, None
        return None, "no herb of the book (name, 别名, processed form) nor a listed food"

    for row in rx_rows:
        names = []
        for item in row["配方"].split("，"):
            m = RECIPE_ITEM.match(item)
            if not m:
                fault(row["_where"], f"配方 item {item!r} is not name + amount + unit "
                      "(克, 枚, 片, 毫升, 条 or 只), items separated by ，")
                continue
            names.append(m.group("name"))
        if len(set(names)) != len(names):
            fault(row["_where"], "配方 names an ingredient twice")
        herbs = set()
        for name in names:
            herb, reason = resolve(name)
            if reason:
                fault(row["_where"], f"配方 names {name!r}: {reason}")
            elif herb:
                herbs.add(INCOMPATIBLE_FORMS.get(herb, herb))
        # A classical prescription may join a pair of 十八反 or 十九畏 (海藻 with 甘草), but then
        # its cautions say so.
        cautions = row["禁忌"] + row["备注"]
        for rule, one, other in INCOMPATIBLE:
            joined = herbs & set(one), herbs & set(other)
            if joined[0] and joined[1] and rule not in cautions:
                fault(row["_where"], f"配方 joins {'、'.join(sorted(joined[0]))} and "
                      f"{'、'.join(sorted(joined[1]))} ({rule}); 禁忌 or 备注 must say {rule}")
        if not SOURCE.search(row["备注"]):
            fault(row["_where"], "备注 must name the classical source as 出自《…》")


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    herbs_path = os.path.join(folder, "herbs.tsv")
    rx_path = os.path.join(folder, "prescriptions.tsv")
    herbs = read_table(herbs_path, HERB_COLUMNS)
    rx = read_table(rx_path, RX_COLUMNS)
    for path in (herbs_path, rx_path):
        if os.path.exists(path):
            check_iconv(path)
    if herbs is not None:
        check_fields(herbs, HERB_COLUMNS, HERB_BOUNDS, [])
        herb_counts = check_chapters(herbs, "herbs.tsv", HERB_CHAPTERS, LARGE_HERB_CHAPTERS,
                                     MIN_PER_LARGE_CHAPTER)
        check_names(herbs, "药物名称")
        check_aliases(herbs)
        for row in herbs:
            check_nature_taste(row)
            check_cautions(row)
        check_pairs_named_both_ways(herbs)
        if len(herbs) < MIN_HERBS:
            fault("herbs.tsv", f"{len(herbs)} herbs, at least {MIN_HERBS} required")
    if rx is not None:
        check_fields(rx, RX_COLUMNS, RX_BOUNDS, SPACE_STRIPPED)
        rx_counts = check_chapters(rx, "prescriptions.tsv", RX_CHAPTERS, LARGE_RX_CHAPTERS,
                                   MIN_PER_LARGE_RX_CHAPTER)
        check_names(rx, "药方名称")
        if len(rx) < MIN_RX:
            fault("prescriptions.tsv", f"{len(rx)} prescriptions, at least {MIN_RX} required")
        if herbs is not None:
            check_recipes(rx, herbs)
    if faults:
        for line in faults:
            print(line, file=sys.stderr)
        print(f"content check FAILED: {len(faults)} fault(s)", file=sys.stderr)
        return 1
    print(f"content check passed: {len(herbs)} herbs in {len(herb_counts)} chapters, "
          f"{len(rx)} prescriptions in {len(rx_counts)} chapters")
    for label, counts in (("herbs", herb_counts), ("prescriptions", rx_counts)):
        print(f"{label}: " + "，".join(f"{c} {n}" for c, n in counts.items()))
    return 0


if __name__ == "__main__":
    sys.exit(main())
