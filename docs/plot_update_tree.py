#!/usr/bin/env python3
"""Plots the time of UpdateTree ("更新") against the number of herbs N, for the program and its
floor, from kelmor-bench's JSON output.

    build/release/bench/kelmor-bench --benchmark_filter=update_tree \\
        --benchmark_repetitions=3 --benchmark_out=docs/update_tree.json --benchmark_out_format=json
    python3 docs/plot_update_tree.py docs/update_tree.json docs/update-tree.png

Every benchmark named update_tree_<N>k/program or update_tree_<N>k/floor becomes a point (the
median over repetitions). The dashed line is the program's time at the smallest N scaled
linearly, so a program line that stays on it grows linearly. The plot is drawn as SVG and turned
into the PNG by rsvg-convert (apt-get install librsvg2-bin); without it the SVG is left instead.
Python 3 standard library only.
"""
import json
import math
import os
import re
import shutil
import statistics
import subprocess
import sys

# Google Benchmark appends options to the name: update_tree_20k/program/min_time:0.500/real_time.
NAME = re.compile(r"^update_tree_(\d+)k/(program|floor)(/|$)")
TO_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}


def points(report):
    """{"program": {N: ms}, "floor": {N: ms}} from a Google Benchmark JSON report."""
    times = {}
    for b in report["benchmarks"]:
        if b.get("run_type", "iteration") != "iteration" or b.get("error_occurred"):
            continue
        m = NAME.match(b.get("run_name", b["name"]))
        if m:
            key = (m.group(2), int(m.group(1)) * 1000)
            times.setdefault(key, []).append(b["real_time"] * TO_MS[b.get("time_unit", "ns")])
    series = {"program": {}, "floor": {}}
    for (kind, n), values in times.items():
        series[kind][n] = statistics.median(values)
    return series


def nice_step(span):
    """A tick step of 1, 2 or 5 times a power of ten giving about five ticks over span."""
    raw = span / 5
    power = 10 ** math.floor(math.log10(raw))
    return next(m * power for m in (1, 2, 5, 10) if m * power >= raw)


def svg(series, width=640, height=400):
    left, right, top, bottom = 70, 70, 40, 50
    all_n = sorted({n for s in series.values() for n in s})
    all_t = [t for s in series.values() for t in s.values()]
    if not all_n:
        raise SystemExit("plot_update_tree: no update_tree_<N>k benchmarks in the report")
    x_max = max(all_n) * 1.08
    program = series["program"]
    n0 = min(program) if program else None
    if n0:
        all_t.append(program[n0] * max(all_n) / n0)
    y_max = max(all_t) * 1.15

    def x(n):
        return left + (width - left - right) * n / x_max

    def y(t):
        return height - bottom - (height - top - bottom) * t / y_max

    out = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
           'font-family="sans-serif" font-size="12">',
           f'<rect width="{width}" height="{height}" fill="white"/>',
           f'<text x="{width / 2}" y="22" text-anchor="middle" font-size="14">'
           'UpdateTree ("更新") time against N herbs</text>']
    # Axes with five ticks each.
    out.append(f'<path d="M{left} {top} V{height - bottom} H{width - right}" stroke="black" fill="none"/>')
    step = nice_step(y_max)
    for i in range(int(y_max / step) + 1):
        t = step * i
        out.append(f'<text x="{left - 6}" y="{y(t) + 4:.1f}" text-anchor="end">{t:g}</text>')
        out.append(f'<path d="M{left} {y(t):.1f} H{width - right}" stroke="#ddd"/>')
    step = nice_step(x_max)
    for i in range(int(x_max / step) + 1):
        n = step * i
        out.append(f'<text x="{x(n):.1f}" y="{height - bottom + 18}" text-anchor="middle">{n / 1000:g}k</text>')
    out.append(f'<text x="{(left + width - right) / 2}" y="{height - 12}" text-anchor="middle">N (herbs)</text>')
    out.append(f'<text x="16" y="{(top + height - bottom) / 2}" text-anchor="middle" '
               f'transform="rotate(-90 16 {(top + height - bottom) / 2})">time per run (ms)</text>')
    if n0:
        out.append(f'<path d="M{x(0):.1f} {y(0):.1f} L{x(max(all_n)):.1f} '
                   f'{y(program[n0] * max(all_n) / n0):.1f}" stroke="#999" stroke-dasharray="6 4"/>')
    colours = {"program": "#b8382b", "floor": "#1d5b3f"}
    legend_y = top + 14
    for kind in ("program", "floor"):
        s = series[kind]
        if not s:
            continue
        path = " ".join(f"{'M' if i == 0 else 'L'}{x(n):.1f} {y(s[n]):.1f}" for i, n in enumerate(sorted(s)))
        out.append(f'<path d="{path}" stroke="{colours[kind]}" stroke-width="2" fill="none"/>')
        for n in sorted(s):
            out.append(f'<circle cx="{x(n):.1f}" cy="{y(s[n]):.1f}" r="4" fill="{colours[kind]}"/>')
            out.append(f'<text x="{x(n) + 7:.1f}" y="{y(s[n]) - 7:.1f}">{s[n]:.1f} ms</text>')
        out.append(f'<rect x="{left + 20}" y="{legend_y - 9}" width="14" height="4" fill="{colours[kind]}"/>')
        out.append(f'<text x="{left + 40}" y="{legend_y - 3}">{kind}</text>')
        legend_y += 18
    if n0:
        out.append(f'<path d="M{left + 20} {legend_y - 7} h14" stroke="#999" stroke-dasharray="4 3"/>')
        out.append(f'<text x="{left + 40}" y="{legend_y - 3}">program, linear from {n0 // 1000}k</text>')
    out.append("</svg>")
    return "\n".join(out) + "\n"


def main(argv):
    if len(argv) != 3 or not argv[2].endswith(".png"):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    with open(argv[1], encoding="utf-8") as f:
        series = points(json.load(f))
    svg_file = argv[2][:-4] + ".svg"
    with open(svg_file, "w", encoding="utf-8") as f:
        f.write(svg(series))
    for kind, s in series.items():
        for n in sorted(s):
            print(f"{kind} N={n} {s[n]:.2f} ms")
    if shutil.which("rsvg-convert") is None:
        print(f"plot_update_tree: wrote {svg_file}; rsvg-convert is missing for the PNG", file=sys.stderr)
        return 1
    subprocess.run(["rsvg-convert", "-o", argv[2], svg_file], check=True)
    os.remove(svg_file)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
