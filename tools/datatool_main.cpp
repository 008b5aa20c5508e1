// velkaro-datatool: the build's data step. It links neither the embedded resources nor Qt, so the
// build can run it before the programs that embed its output are linked.
//
//   velkaro-datatool build-tiles --dem DIR --out DIR
//   velkaro-datatool build-summit-grid --dem DIR --out FILE

#include <cstdio>
#include <exception>
#include <map>
#include <string>

#include "tools/data_commands.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: velkaro-datatool build-tiles --dem DIR --out DIR\n"
               "       velkaro-datatool build-summit-grid --dem DIR --out FILE\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  std::map<std::string, std::string> args;
  for (int i = 2; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    if (name.rfind("--", 0) != 0) return Usage();
    args[name.substr(2)] = argv[i + 1];
  }
  if (!args.count("dem") || !args.count("out")) return Usage();
  try {
    if (command == "build-tiles") {
      const auto report = velkaro::tools::RunBuildTiles(args["dem"], args["out"], 2);
      std::printf("%d tiles, %d lakes, %ld sea samples, %ld lake samples\n", report.tiles,
                  report.lakes, report.seaSamples, report.lakeSamples);
      return 0;
    }
    if (command == "build-summit-grid") {
      const auto grid = velkaro::tools::RunBuildSummitGrid(args["dem"], args["out"]);
      std::printf("summit grid %d x %d\n", grid.rows(), grid.cols());
      return 0;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "velkaro-datatool %s: %s\n", command.c_str(), e.what());
    return 1;
  }
  return Usage();
}
