#!/usr/bin/env python3
"""check_test.py CONTENT_DIR: each mistake put into a copy of the content makes check.py fail
and name the file, the line and the reason."""

import os
import subprocess
import sys
import tempfile
import unittest

CONTENT = sys.argv.pop(1) if len(sys.argv) > 1 else os.path.join(
    os.path.dirname(os.path.abspath(__file__)), "..", "..", "content")


def row_of(lines, column, value):
    """Index of the line whose field `column` is `value`."""
    for i, line in enumerate(lines):
        if line.split("\t")[column] == value:
            return i
    raise LookupError(value)


def set_field(lines, name, column, change):
    i = row_of(lines, 1, name)
    fields = lines[i].split("\t")
    fields[column] = change(fields[column])
    lines[i] = "\t".join(fields)
    return i


HERB_NATURE, HERB_NOTE = 10, 12
RX_RECIPE, RX_CAUTION, RX_REMARK = 2, 5, 6


def bad_nature(herbs, rx):
    return "herbs.tsv", set_field(herbs, "麻黄", HERB_NATURE, lambda v: "辛，暖。归肺经。"), "性味"


def incompatibility_not_named(herbs, rx):
    return "herbs.tsv", set_field(herbs, "甘草", HERB_NOTE,
                                  lambda v: v.replace("海藻", "")), "must name 海藻"


def pair_named_on_one_side(herbs, rx):
    # 瓜蒌 still stands in the note: only the pair rule sees that 瓜蒌子 is missing.
    return "herbs.tsv", set_field(herbs, "川乌", HERB_NOTE,
                                  lambda v: v.replace("瓜蒌子、", "")), "must name 瓜蒌子"


def toxicity_not_said(herbs, rx):
    return "herbs.tsv", set_field(herbs, "附子", HERB_NOTE,
                                  lambda v: v.replace("有大毒", "").replace("有毒", "")), "poisonous"


def unknown_ingredient(herbs, rx):
    return "prescriptions.tsv", set_field(rx, "麻黄汤", RX_RECIPE,
                                          lambda v: v + "，龙涎草3克"), "龙涎草"


def alias_in_recipe(herbs, rx):
    return "prescriptions.tsv", set_field(rx, "麻黄汤", RX_RECIPE,
                                          lambda v: v.replace("苦杏仁", "杏仁")), "苦杏仁"


def pair_joined_silently(herbs, rx):
    i = set_field(rx, "麻黄汤", RX_RECIPE, lambda v: v + "，甘遂1克")
    set_field(rx, "麻黄汤", RX_CAUTION, lambda v: v.replace("十八反", ""))
    return "prescriptions.tsv", i, "十八反"


def source_missing(herbs, rx):
    return "prescriptions.tsv", set_field(rx, "桂枝汤", RX_REMARK,
                                          lambda v: v.replace("出自", "见于")), "出自"


def alias_is_another_herb(herbs, rx):
    return "herbs.tsv", set_field(herbs, "枳实", 3, lambda v: v + "、枳壳"), "枳壳"


def chapter_out_of_order(herbs, rx):
    i = row_of(rx, 0, "清热剂")
    fields = rx[i].split("\t")
    fields[0] = "补益剂"
    rx[i] = "\t".join(fields)
    return "prescriptions.tsv", i, "补益剂"


MISTAKES = [bad_nature, incompatibility_not_named, pair_named_on_one_side, toxicity_not_said, unknown_ingredient,
            alias_in_recipe, pair_joined_silently, source_missing, chapter_out_of_order,
            alias_is_another_herb]


class CheckTest(unittest.TestCase):
    def test_each_mistake_fails_with_file_line_and_reason(self):
        for mistake in MISTAKES:
            with self.subTest(mistake.__name__), tempfile.TemporaryDirectory() as folder:
                files = {}
                for name in ("herbs.tsv", "prescriptions.tsv"):
                    with open(os.path.join(CONTENT, name), encoding="utf-8") as f:
                        files[name] = f.read().split("\n")
                file, index, reason = mistake(files["herbs.tsv"], files["prescriptions.tsv"])
                for name, lines in files.items():
                    with open(os.path.join(folder, name), "w", encoding="utf-8") as f:
                        f.write("\n".join(lines))
                result = subprocess.run([sys.executable, os.path.join(CONTENT, "check.py"), folder],
                                        capture_output=True, text=True)
                self.assertEqual(result.returncode, 1, result.stdout)
                where = f"{file}:{index + 1}: "
                lines = [l for l in result.stderr.splitlines() if l.startswith(where)]
                self.assertTrue(any(reason in l for l in lines),
                                f"no fault at {where} naming {reason!r}:\n{result.stderr}")


if __name__ == "__main__":
    unittest.main()
