#include "result_row.h"

#include <cstdio>

void PrintRow(const ResultRow& row)
{
    std::printf("| %s | %s | %s | %s | %s | %s |\n", row.measure.c_str(), row.program.c_str(), row.baseline.c_str(),
                row.ratio.c_str(), row.target.c_str(), row.met.c_str());
    std::fflush(stdout);
}

std::string Fixed(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof(text), "%.*f", decimals, value);
    return text;
}

std::string RatioText(double program, double baseline)
{
    return baseline > 0.0 ? Fixed(program / baseline, 2) : std::string("-");
}

std::string YesNo(bool met)
{
    return met ? "yes" : "no";
}
