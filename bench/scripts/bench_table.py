#!/usr/bin/env python3
"""Turns the benchmark programs' sample lines into the benchmark table.

    bench_table.py [--check] SAMPLES

SAMPLES holds tab-separated lines (see bench/support/sample_output.h):
    row     <key> <measure> <check> <limit> <unit> <decimals> <baseline note>
    sample  <key> <program> <baseline or ->
    note    <key> <measure> <text>      (a row that only shows a text)
    failed  <step> <why>
Every row is summed up by one rule. Its figures are medians; a row with a
baseline is read through its pairs: the ratio is the median of the pairs'
ratios, and the spread is the 10th to the 90th percentile of the judged
quantity: the pair ratios; the program's values; each pair's distance
between program and baseline (timings against a reference course); or each
pair's excess of the program over the baseline (the program's own part of a
cost that the platform shares). The verdict:
    yes           the whole spread lies within the target
    no            the whole spread lies beyond it
    within noise  the spread straddles it
With --check the exit status is 1 when a row is "no", when a row has no
sample, or when a step failed; noise alone never fails it.
The Markdown table goes to the standard output, the check's findings to the
standard error.
"""

import statistics
import sys

LOW_PERCENTILE = 0.10
HIGH_PERCENTILE = 0.90

YES = "yes"
NO = "no"
WITHIN_NOISE = "within noise"
NOT_MEASURED = "not measured"

HEADER = (
    "| Measure | ClassicSwitch | Baseline | Ratio | Spread (p10 to p90) | Pairs or runs | Target | Met |\n"
    "|---|---|---|---|---|---|---|---|"
)


class Row:
    def __init__(self, key, measure, check, limit, unit, decimals, baseline_note):
        self.key = key
        self.measure = measure
        self.check = check  # "ratio", "value", "deviation", "extra" or "-"
        self.limit = limit
        self.unit = unit
        self.decimals = decimals
        self.baseline_note = baseline_note
        self.samples = []  # (program, baseline or None)
        self.note = None  # the text of a row that only shows one


def percentile(values, fraction):
    """The value at that fraction of the sorted values, interpolated linearly
    between the two nearest ranks."""
    ordered = sorted(values)
    position = fraction * (len(ordered) - 1)
    below = int(position)
    above = min(below + 1, len(ordered) - 1)
    return ordered[below] + (ordered[above] - ordered[below]) * (position - below)


def verdict(low, high, limit):
    if high <= limit:
        return YES
    if low > limit:
        return NO
    return WITHIN_NOISE


def parse(lines):
    """Rows in the order of their first declaration, and the failed steps."""
    rows = {}
    failures = []
    for number, line in enumerate(lines, 1):
        fields = line.rstrip("\r\n").split("\t")
        kind = fields[0]
        if kind == "row" and len(fields) == 8:
            key = fields[1]
            if key not in rows:
                check = fields[3] if fields[4] != "-" else "-"
                limit = float(fields[4]) if check != "-" else None
                unit = "" if fields[5] == "-" else fields[5]
                note = "" if fields[7] == "-" else fields[7]
                rows[key] = Row(key, fields[2], check, limit, unit, int(fields[6]), note)
        elif kind == "sample" and len(fields) == 4:
            row = rows.get(fields[1])
            if row is None:
                failures.append("line %d: a sample of the undeclared row %s" % (number, fields[1]))
                continue
            baseline = None if fields[3] == "-" else float(fields[3])
            row.samples.append((float(fields[2]), baseline))
        elif kind == "note" and len(fields) == 4:
            row = Row(fields[1], fields[2], "-", None, "", 0, "")
            row.note = fields[3]
            rows.setdefault(fields[1], row)
        elif kind == "failed" and len(fields) >= 3:
            failures.append("%s: %s" % (fields[1], " ".join(fields[2:])))
        elif line.strip():
            failures.append("line %d: not a sample line: %s" % (number, line.strip()[:80]))
    return list(rows.values()), failures


def judged_values(row):
    """The quantity that the row's spread and verdict are about, and whether
    it is a ratio."""
    paired = [(p, b) for p, b in row.samples if b is not None]
    if row.check == "deviation":
        return [abs(p - b) for p, b in paired], False
    if row.check == "extra":
        return [p - b for p, b in paired], False
    if row.check == "value":
        return [p for p, _ in row.samples], False
    if paired and len(paired) == len(row.samples):
        return [p / b for p, b in paired if b > 0], True
    return [p for p, _ in row.samples], False


def summarise(row):
    """The row's cells and its verdict ("-" when it has no target)."""
    fixed = "%%.%df" % row.decimals
    if row.note is not None:
        return [row.measure, row.note, "-", "-", "-", "-", "-", "-"], "-"
    if not row.samples:
        return [row.measure, "-", "-", "-", "-", "0", target_text(row), NOT_MEASURED], NOT_MEASURED
    programs = [p for p, _ in row.samples]
    baselines = [b for _, b in row.samples if b is not None]
    ratios = [p / b for p, b in row.samples if b is not None and b > 0]
    values, is_ratio = judged_values(row)

    program_text = fixed % statistics.median(programs)
    if row.check == "deviation":
        program_text += " (deviation %s)" % (fixed % statistics.median(values))
    elif row.check == "extra":
        program_text += " (own part %s)" % (fixed % statistics.median(values))
    if row.baseline_note:
        baseline_text = row.baseline_note
    elif baselines:
        baseline_text = fixed % statistics.median(baselines)
    else:
        baseline_text = "-"
    ratio_text = "%.2f" % statistics.median(ratios) if ratios and row.check != "deviation" else "-"

    low, high = percentile(values, LOW_PERCENTILE), percentile(values, HIGH_PERCENTILE)
    if is_ratio:
        spread_text = "%.2f to %.2f" % (low, high)
    else:
        unit = " " + row.unit if row.unit else ""
        spread_text = "%s to %s%s" % (fixed % low, fixed % high, unit)
        if row.check in ("deviation", "extra"):
            spread_text = row.check + " " + spread_text
    met = verdict(low, high, row.limit) if row.check != "-" else "-"
    cells = [row.measure, program_text, baseline_text, ratio_text, spread_text, str(len(row.samples)),
             target_text(row), met]
    return cells, met


def target_text(row):
    if row.check == "-":
        return "-"
    limit = "%g" % row.limit
    unit = " " + row.unit if row.unit else ""
    if row.check == "ratio":
        return "ratio <= " + limit
    if row.check in ("deviation", "extra"):
        return "%s <= %s%s" % (row.check, limit, unit)
    return "<= %s%s" % (limit, unit)


def table(rows):
    lines = [HEADER]
    for row in rows:
        cells, _ = summarise(row)
        lines.append("| " + " | ".join(cells) + " |")
    return "\n".join(lines)


def check_problems(rows, failures):
    """What makes the check fail: rows whose whole spread lies beyond their
    target, rows without a sample, and failed steps."""
    problems = ["step failed: " + failure for failure in failures]
    for row in rows:
        cells, met = summarise(row)
        if met == NO:
            problems.append("%s: spread %s lies wholly beyond the target (%s)" % (row.measure, cells[4], cells[6]))
        elif met == NOT_MEASURED:
            problems.append("%s: not measured" % row.measure)
    return problems


def main(argv):
    arguments = [a for a in argv[1:] if a != "--check"]
    checking = "--check" in argv[1:]
    if len(arguments) != 1:
        sys.stderr.write("usage: bench_table.py [--check] SAMPLES\n")
        return 2
    with open(arguments[0], encoding="utf-8") as samples:
        rows, failures = parse(samples.readlines())
    print(table(rows))
    problems = check_problems(rows, failures)
    for problem in problems:
        sys.stderr.write(("CHECK FAILED: " if checking else "Not met: ") + problem + "\n")
    noisy = [row.measure for row in rows if summarise(row)[1] == WITHIN_NOISE]
    if checking and not problems:
        sys.stderr.write("Check passed: no row's whole spread lies beyond its target (%d within noise)\n" % len(noisy))
    return 1 if checking and problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
