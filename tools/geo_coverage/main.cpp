// qz-geo-coverage [DATA_FOLDER] [--sets N] [--figure F] [--catalogue] [--verbose]
// (--catalogue: the reference is the catalogue's figure itself, not one moved off it)
// Prints, for each figure, the data sets tried and what became of them.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "solver_coverage.h"

int main(int argc, char** argv) {
  std::string folder = ".";
  qz::coverage::CoverageOptions options;
  int only = -1;
  bool verbose = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--sets") == 0 && i + 1 < argc) {
      options.maxSets = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--figure") == 0 && i + 1 < argc) {
      only = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--catalogue") == 0) {
      options.moveParameters = false;
    } else if (std::strcmp(argv[i], "--verbose") == 0) {
      verbose = true;
    } else {
      folder = argv[i];
    }
  }
  qz::coverage::FigureCoverage total;
  std::printf("figure  essayés  résolus  ambigus  faux  non résolus\n");
  for (int figure = 0; figure < 53; ++figure) {
    if (only >= 0 && figure != only) continue;
    const auto c = qz::coverage::MeasureFigure(folder, figure, options);
    std::printf("%6d  %7d  %7d  %7d  %4d  %11d\n", figure, c.tried, c.solved, c.ambiguous, c.wrong, c.unsolved);
    if (verbose)
      for (const std::string& line : c.failures) std::printf("        %s\n", line.c_str());
    total.tried += c.tried;
    total.solved += c.solved;
    total.ambiguous += c.ambiguous;
    total.wrong += c.wrong;
    total.unsolved += c.unsolved;
  }
  std::printf(" total  %7d  %7d  %7d  %4d  %11d\n", total.tried, total.solved, total.ambiguous, total.wrong,
              total.unsolved);
  return total.wrong == 0 ? 0 : 1;
}
