#include "sample_output.h"

#include <cstdio>

namespace {
const char* CheckName(Check check)
{
    switch (check) {
    case Check::Ratio:
        return "ratio";
    case Check::Value:
        return "value";
    case Check::Deviation:
        return "deviation";
    case Check::Extra:
        return "extra";
    case Check::None:
        break;
    }
    return "-";
}

const char* OrDash(const std::string& text)
{
    return text.empty() ? "-" : text.c_str();
}
}  // namespace

void DeclareRow(const RowSpec& row)
{
    std::printf("row\t%s\t%s\t%s\t%.6g\t%s\t%d\t%s\n", row.key.c_str(), row.measure.c_str(), CheckName(row.check),
                row.limit, OrDash(row.unit), row.decimals, OrDash(row.baselineNote));
    std::fflush(stdout);
}

void PrintSample(const std::string& key, double program, double baseline)
{
    std::printf("sample\t%s\t%.6f\t%.6f\n", key.c_str(), program, baseline);
    std::fflush(stdout);
}

void PrintSample(const std::string& key, double program)
{
    std::printf("sample\t%s\t%.6f\t-\n", key.c_str(), program);
    std::fflush(stdout);
}
