#pragma once
#include <string>

// One row of the benchmark table, printed as a Markdown table row that the
// benchmark script collects:
//   | measure | ClassicSwitch | baseline | ratio | target | met |
struct ResultRow {
    std::string measure;
    std::string program;
    std::string baseline;
    std::string ratio;
    std::string target;
    std::string met;
};

void PrintRow(const ResultRow& row);

std::string Fixed(double value, int decimals);
// program / baseline with two decimals, or "-" when the baseline is zero.
std::string RatioText(double program, double baseline);
std::string YesNo(bool met);
