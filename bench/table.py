#!/usr/bin/env python3
"""Prints the benchmark figures of one bench/run as a Markdown table of ratios."""
import json
import os
import platform
import subprocess
import sys
from datetime import datetime

SCALE = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}


def load(folder):
    medians, context = {}, None
    for file in sorted(os.listdir(folder)):
        if not file.endswith(".json"):
            continue
        with open(os.path.join(folder, file)) as f:
            data = json.load(f)
        context = context or data["context"]
        for b in data["benchmarks"]:
            if b.get("aggregate_name") == "median":
                medians[b["run_name"]] = b
    return medians, context


def seconds(b, manual=False):
    # Wall time where the harness timed whole processes, else CPU time of the thread.
    return b["real_time" if manual else "cpu_time"] * SCALE[b["time_unit"]]


def show(value):
    for unit, factor in (("s", 1.0), ("ms", 1e-3), ("µs", 1e-6), ("ns", 1e-9)):
        if value >= factor:
            return f"{value / factor:.3g} {unit}"
    return f"{value / 1e-9:.3g} ns"


def machine():
    cpu = platform.processor() or platform.machine()
    try:
        for line in subprocess.run(["lscpu"], capture_output=True, text=True).stdout.splitlines():
            if line.startswith("Model name:"):
                cpu = line.split(":", 1)[1].strip()
    except OSError:
        pass
    return f"{cpu}, {os.cpu_count()} cores, {platform.system()} {platform.release()}"


def main():
    m, context = load(sys.argv[1])
    rows = []
    missed = []

    def ratio_row(figure, ours, base, target, manual=False, note=""):
        if ours not in m or base not in m:
            rows.append((figure, "missing", "", "", "", ""))
            return
        a, b = seconds(m[ours], manual), seconds(m[base], manual)
        ratio = a / b
        verdict = "context" if target is None else ("met" if ratio <= target else "MISSED")
        if verdict == "MISSED":
            missed.append(figure)
        rows.append((figure, show(a), show(b), f"{ratio:.2f}",
                     "—" if target is None else f"≤ {target:g}", verdict + note))

    ratio_row("Start-up to the chooser's first paint (X server) vs minimal Qt window",
              "BM_StartupVilo/iterations:20/manual_time",
              "BM_StartupMinimalWindow/iterations:20/manual_time", 1.5, manual=True)
    vilo = m.get("BM_StartupVilo/iterations:20/manual_time")
    minimal = m.get("BM_StartupMinimalWindow/iterations:20/manual_time")
    if vilo and minimal:
        a, b = vilo["peak_KiB"] / 1024, minimal["peak_KiB"] / 1024
        rows.append(("Peak memory at start-up vs minimal Qt window", f"{a:.1f} MiB",
                     f"{b:.1f} MiB", f"{a / b:.2f}", "—", "context"))
    ratio_row("CalculateSlab vs naive long double (anchor ratio, one curve)",
              "BM_CalculateSlab/150", "BM_NaiveLongDouble/150", 1.5)
    ratio_row("CalculateSlab vs naive long double (interpolated, two curves)",
              "BM_CalculateSlab/120", "BM_NaiveLongDouble/120", 1.5)
    ratio_row("CalculateSlab vs naive double (anchor ratio)",
              "BM_CalculateSlab/150", "BM_NaiveDouble/150", None)
    ratio_row("Opening the ten tables vs ten empty files with plain Qt SQL",
              "BM_OpenTenTables", "BM_OpenTenEmptyFilesPlainQtSql", 2)
    alternated = m.get("BM_OpenTenTablesToBaselineRatio")
    if alternated:
        rows.append(("  the same, alternated within each iteration", "", "",
                     f"{alternated['ratio']:.2f}", "≤ 2",
                     "met" if alternated["ratio"] <= 2 else "MISSED"))
    click, bare = m.get("BM_CalculateClick"), m.get("BM_CalculateSlabBare")
    if click and bare:
        a, b = seconds(click), seconds(bare)
        verdict = "met" if a < 1e-3 else "MISSED"
        rows.append(("Calculate, click to results written vs bare CalculateSlab", show(a),
                     show(b), f"{a / b:.0f}", "< 1 ms", verdict))
    ratio_row("Report filled and rendered to PDF vs empty A4 page (QPdfWriter)",
              "FilledReportPdf", "EmptyA4Pdf", 3)
    ratio_row("  context: one line of text to PDF vs empty A4 page",
              "OneLineA4Pdf", "EmptyA4Pdf", None)

    when = datetime.now().strftime("%Y-%m-%d %H:%M")
    load_avg = ", ".join(f"{x:.2f}" for x in context.get("load_avg", [])) if context else ""
    print(f"Vilo benchmarks, {when}, {machine()}, load average {load_avg}")
    print()
    print("| Figure | Vilo | Baseline | Ratio | Target | |")
    print("|---|---|---|---|---|---|")
    for row in rows:
        print("| " + " | ".join(row) + " |")
    if missed:
        print()
        print("Missed: " + "; ".join(missed))


if __name__ == "__main__":
    main()
