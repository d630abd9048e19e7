#pragma once
// The --rows=N option of the benchmark programs: taken off the command line before Google
// Benchmark reads the rest.

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace Kel::Bench {

// Returns N of --rows=N (at least 1), or defaultRows; `args` receives the other arguments.
inline int TakeRowsOption(int argc, char** argv, int defaultRows, std::vector<char*>& args) {
  int rows = defaultRows;
  for (int i = 0; i < argc; ++i) {
    if (std::strncmp(argv[i], "--rows=", 7) == 0)
      rows = std::max(1, std::atoi(argv[i] + 7));
    else
      args.push_back(argv[i]);
  }
  return rows;
}

}  // namespace Kel::Bench
