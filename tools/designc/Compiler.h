// The design compiler's steps, from description text to C++ source.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace designc {

// Parses and encodes a description and packs it into a blob; throws
// DescriptionError at the first mistake.
std::vector<uint8_t> CompileDescription(std::string_view text);

struct Options {
  std::string input;
  std::string output;
  std::string symbol = "kFormDesigns";
};

// Runs the command line: 0 on success; 1 with "FILE:LINE:COLUMN: error:
// reason" (or a usage or file message) on the error stream.
int RunCompiler(const Options& options, std::string& diagnostics);
// Reads "DESCRIPTION -o OUTPUT.cpp [--symbol NAME]"; false with a usage text.
bool ParseArguments(int argc, const char* const* argv, Options& options, std::string& usage);

}  // namespace designc
