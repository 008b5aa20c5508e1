#include "tools/data_commands.h"

#include <filesystem>
#include <stdexcept>

#include "core/summit_grid.h"
#include "core/text.h"
#include "tools/summit_grid_builder.h"

namespace velkaro::tools {

TileBuildReport RunBuildTiles(const std::string& demDir, const std::string& outDir, int threads) {
  const DemSources sources = LoadDemSources(demDir);
  TileBuildOptions options;
  options.threads = threads;
  return BuildMeshTiles(sources, outDir, options);
}

SummitGrid RunBuildSummitGrid(const std::string& demDir, const std::string& outFile) {
  const DemSources sources = LoadDemSources(demDir);
  SummitGrid grid = BuildSummitGrid(sources);
  const std::vector<uint8_t> bytes = EncodeSummitGrid(grid);
  const std::filesystem::path parent = std::filesystem::path(outFile).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent);
  std::string error;
  if (!WriteFileAtomic(outFile,
                       std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                       &error)) {
    throw std::runtime_error("cannot write " + outFile + ": " + error);
  }
  return grid;
}

}  // namespace velkaro::tools
