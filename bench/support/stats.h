#pragma once
#include <vector>

// The middle value (the mean of the two middle ones for an even count); 0
// for no values. Medians keep one slow outlier on a shared machine from
// moving a figure.
double Median(std::vector<double> values);
