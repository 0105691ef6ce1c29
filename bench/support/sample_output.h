#pragma once
#include <string>

// What the benchmark programs print: the rows they measure and every single
// measurement, not a verdict. tools/bench.sh gathers the lines of all
// programs and bench/scripts/bench_table.py turns them into the table, so
// that every row is summed up and judged by one rule (medians of paired
// ratios, their spread, the target). Lines are tab-separated:
//   row     <key> <measure> <check> <limit> <unit> <decimals> <baseline note>
//   sample  <key> <program> <baseline or ->
// A row is declared once, before its samples; each sample is one run of the
// program and, for rows with a baseline, the run of the baseline paired with
// it (measured right before or right after it, in alternating order).
enum class Check {
    Ratio,      // the pair's program / baseline must stay within the limit
    Value,      // the program's value must stay within the limit
    Deviation,  // |program - baseline| must stay within the limit
    Extra,      // program - baseline, the program's own part, must stay within the limit
    None,       // shown, not judged
};

struct RowSpec {
    std::string key;      // unique, without spaces
    std::string measure;  // the table's first column
    Check check = Check::None;
    double limit = 0.0;
    std::string unit;          // of the values: "us", "ms", ...
    int decimals = 0;          // shown for the program's and the baseline's values
    std::string baselineNote;  // shown instead of the baseline's median ("" for none)
};

void DeclareRow(const RowSpec& row);
void PrintSample(const std::string& key, double program, double baseline);
void PrintSample(const std::string& key, double program);
