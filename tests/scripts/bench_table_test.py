#!/usr/bin/env python3
"""The benchmark table's rule: paired ratios, their spread, the verdict, and
the exit status of the check (bench/scripts/bench_table.py)."""

import os
import subprocess
import sys
import tempfile
import unittest

SCRIPTS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "bench", "scripts")
sys.path.insert(0, SCRIPTS)
import bench_table  # noqa: E402


def row_line(key, check="ratio", limit="1.05", unit="us", decimals=0, note="-"):
    return "row\t%s\t%s measure\t%s\t%s\t%s\t%d\t%s\n" % (key, key, check, limit, unit, decimals, note)


def sample_lines(key, pairs):
    return ["sample\t%s\t%s\t%s\n" % (key, p, "-" if b is None else b) for p, b in pairs]


def summary(lines):
    rows, failures = bench_table.parse(lines)
    return {row.key: bench_table.summarise(row) for row in rows}, rows, failures


# Ratios of 21 pairs spread evenly around 1.00, from 0.80 to 1.20: what a
# noisy machine does to a program that costs what its baseline costs.
NOISE_AROUND_ONE = [(100.0 * (0.80 + 0.02 * i), 100.0) for i in range(21)]


class PercentileTest(unittest.TestCase):
    def test_interpolates_between_ranks(self):
        for values, fraction, expected in [
            ([1, 2, 3, 4, 5], 0.10, 1.4),
            ([1, 2, 3, 4, 5], 0.90, 4.6),
            ([5, 1, 4, 2, 3], 0.50, 3.0),  # unsorted input
            ([7.0], 0.10, 7.0),
            ([7.0], 0.90, 7.0),
            ([1.0, 2.0], 0.90, 1.9),
        ]:
            with self.subTest(values=values, fraction=fraction):
                self.assertAlmostEqual(bench_table.percentile(values, fraction), expected)


class VerdictTest(unittest.TestCase):
    def test_whole_spread_decides(self):
        for low, high, expected in [
            (0.90, 1.00, "yes"),
            (0.90, 1.05, "yes"),  # the limit itself meets the target
            (1.00, 1.10, "within noise"),
            (1.05, 1.10, "within noise"),  # touching the limit is not beyond it
            (1.06, 1.20, "no"),
        ]:
            with self.subTest(low=low, high=high):
                self.assertEqual(bench_table.verdict(low, high, 1.05), expected)


class RowTest(unittest.TestCase):
    def test_ratio_is_the_median_of_pair_ratios_not_the_ratio_of_medians(self):
        # Pair ratios 1, 2, 1: median 1. Medians 10 and 5 would give 2.
        lines = [row_line("r")] + sample_lines("r", [(1, 1), (10, 5), (100, 100)])
        cells, _ = summary(lines)[0]["r"]
        self.assertEqual(cells[1:4], ["10", "5", "1.00"])
        self.assertEqual(cells[5], "3")

    def test_noise_alone_is_within_noise(self):
        lines = [row_line("r")] + sample_lines("r", NOISE_AROUND_ONE)
        cells, met = summary(lines)[0]["r"]
        self.assertEqual(met, "within noise")
        self.assertEqual(cells[4], "0.84 to 1.16")

    def test_a_slower_program_is_no_despite_outliers(self):
        # Twice the baseline's cost, with two pairs that a neighbour's load
        # pushed down to parity: still wholly beyond the target.
        pairs = [(200.0 + i, 100.0) for i in range(19)] + [(100.0, 100.0), (101.0, 100.0)]
        lines = [row_line("r")] + sample_lines("r", pairs)
        _, met = summary(lines)[0]["r"]
        self.assertEqual(met, "no")

    def test_value_rows_judge_the_program_alone(self):
        pairs = [(900.0, 450.0), (950.0, 500.0), (990.0, 480.0)]  # ratios near 2, values under 1000
        lines = [row_line("v", check="value", limit="1000")] + sample_lines("v", pairs)
        cells, met = summary(lines)[0]["v"]
        self.assertEqual(met, "yes")
        self.assertEqual(cells[6], "<= 1000 us")
        self.assertIn("us", cells[4])

    def test_deviation_rows_judge_the_distance_from_the_nominal_course(self):
        # Early and late count alike: distances 5, 10, 40, 35, 20.
        pairs = [(105, 100), (90, 100), (140, 100), (65, 100), (120, 100)]
        lines = [row_line("d", check="deviation", limit="30", unit="ms", note="100 (nominal)")]
        cells, met = summary(lines + sample_lines("d", pairs))[0]["d"]
        self.assertEqual(cells[1], "105 (deviation 20)")
        self.assertEqual(cells[2], "100 (nominal)")
        self.assertEqual(cells[3], "-")
        self.assertEqual(met, "within noise")

    def test_extra_rows_judge_the_program_beyond_its_paired_baseline(self):
        # The platform's share moves four-fold between pairs; the program's
        # own part stays 150 to 190 us.
        pairs = [(1190.0, 1040.0), (330.0, 150.0), (1200.0, 1020.0), (340.0, 170.0), (310.0, 140.0)]
        lines = [row_line("e", check="extra", limit="250")] + sample_lines("e", pairs)
        cells, met = summary(lines)[0]["e"]
        self.assertEqual(met, "yes")
        self.assertEqual(cells[1], "340 (own part 170)")
        self.assertEqual(cells[4], "extra 158 to 180 us")
        self.assertEqual(cells[6], "extra <= 250 us")
        slower = [(p + 200.0, b) for p, b in pairs]
        _, met = summary([row_line("e", check="extra", limit="250")] + sample_lines("e", slower))[0]["e"]
        self.assertEqual(met, "no")

    def test_rows_without_target_are_shown_not_judged(self):
        lines = [row_line("i", check="-", limit="0")] + sample_lines("i", [(170, None), (230, None)])
        cells, met = summary(lines)[0]["i"]
        self.assertEqual((cells[6], met), ("-", "-"))
        self.assertEqual(cells[4], "176 to 224 us")


class CheckTest(unittest.TestCase):
    def problems(self, lines):
        _, rows, failures = summary(lines)
        return bench_table.check_problems(rows, failures)

    def test_noise_alone_passes(self):
        lines = [row_line("a")] + sample_lines("a", NOISE_AROUND_ONE)
        lines += [row_line("b", check="value", limit="1000")] + sample_lines("b", [(990, 400), (1010, 400), (980, 400)])
        self.assertEqual(self.problems(lines), [])

    def test_what_fails_it(self):
        slower = [row_line("slow")] + sample_lines("slow", [(210.0, 100.0)] * 5)
        cases = {
            "a row beyond its target": (slower, "slow measure: spread 2.10 to 2.10 lies wholly beyond"),
            "a row without samples": ([row_line("empty")], "empty measure: not measured"),
            "a failed step": (["failed\tTicks\texit status 3\n"], "step failed: Ticks: exit status 3"),
            "a sample of no row": (sample_lines("nobody", [(1, 1)]), "undeclared row nobody"),
        }
        for name, (lines, expected) in cases.items():
            with self.subTest(name):
                problems = self.problems(lines)
                self.assertEqual(len(problems), 1, problems)
                self.assertIn(expected, problems[0])

    def test_exit_status_of_the_command(self):
        noisy = [row_line("a")] + sample_lines("a", NOISE_AROUND_ONE)
        slower = noisy + [row_line("slow")] + sample_lines("slow", [(210.0, 100.0)] * 5)
        for lines, arguments, expected in [
            (noisy, ["--check"], 0),
            (slower, ["--check"], 1),
            (slower, [], 0),  # without --check the table is all
        ]:
            with self.subTest(arguments=arguments, rows=len(lines)):
                with tempfile.NamedTemporaryFile("w", suffix=".tsv", delete=False) as samples:
                    samples.writelines(lines)
                try:
                    result = subprocess.run([sys.executable, os.path.join(SCRIPTS, "bench_table.py")] + arguments +
                                            [samples.name], capture_output=True, text=True)
                finally:
                    os.unlink(samples.name)
                self.assertEqual(result.returncode, expected, result.stderr)
                self.assertIn("| a measure |", result.stdout)


if __name__ == "__main__":
    unittest.main()
