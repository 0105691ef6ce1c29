#pragma once
#include <string>
#include <vector>

// The options that the mini edition passes. Each option is a name argument
// ("--Name") followed by value arguments up to the next argument that starts
// with a dash; the values are joined with single spaces.
struct CommandLineOptions {
    std::wstring tempDir;
    std::wstring appName;
    std::wstring miniName;
    std::wstring galleryName;
    std::wstring localPath;
    double scale = 1.0;
};

// Applies the arguments (element 0, the program path, is skipped) on top of
// the given values: options not present keep them, an option given more than
// once takes its last occurrence, unknown options and stray words are passed
// over.
void ApplyArguments(const std::vector<std::wstring>& arguments, CommandLineOptions& options);

// Splits a command line the way the system does for a program's arguments.
// Returns false, with nothing split, when the system cannot split it.
bool SplitCommandLine(const wchar_t* commandLine, std::vector<std::wstring>& arguments);
