#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/sight_line.h"
#include "terrain/elevation.h"
#include "terrain/mesh_code.h"
#include "terrain/mesh_tile.h"
#include "terrain/tile_cache.h"
#include "terrain/tiles_in_view.h"

namespace velkaro {
namespace {

namespace fs = std::filesystem;

// A folder with a few tiles around the summit, written once for all benchmarks and removed at exit.
struct BenchTiles {
  std::string folder;
  ~BenchTiles() { fs::remove_all(folder); }
};

const std::string& BenchFolder() {
  static const BenchTiles tiles{[] {
    const fs::path dir =
        fs::temp_directory_path() / ("velkaro_bench_terrain_" + std::to_string(getpid()));
    fs::create_directories(dir);
    MeshTile tile;
    tile.present = true;
    for (int r = 1; r <= kMeshTileSide; ++r) {
      for (int s = 1; s <= kMeshTileSide; ++s) tile.setSample(r, s, EncodeMeshSample(r + s, 0));
    }
    const auto bytes = EncodeMeshTile(tile);
    for (const char* code : {"533805", "533806", "533815", "533816"}) {
      std::ofstream out(MeshTilePath(dir.string(), code), std::ios::binary);
      out.write(reinterpret_cast<const char*>(bytes.data()),
                static_cast<std::streamsize>(bytes.size()));
    }
    return dir.string();
  }()};
  return tiles.folder;
}

void BM_TerrainElevationAtWarm(benchmark::State& state) {
  TileCache cache(BenchFolder());
  int k = 0;
  for (auto _ : state) {
    // Points spread over four squares, all of them in the cache after the first round.
    const double lat = 35.34 + (k % 97) * 0.0005;
    const double lon = 138.70 + (k % 89) * 0.0009;
    benchmark::DoNotOptimize(TerrainElevationAt(cache, lat, lon));
    ++k;
  }
}
BENCHMARK(BM_TerrainElevationAtWarm);

void BM_LoadMeshTile(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(LoadMeshTile(BenchFolder(), "533805"));
}
BENCHMARK(BM_LoadMeshTile);

void BM_SelectTilesInView(benchmark::State& state) {
  const Observer tokyo{35.6586, 139.7454, 250};
  const SummitSight sight = ComputeSummitSight(tokyo);
  const ViewFrame frame{sight.summitAzimuth, sight.summitDistanceKm, sight.summitAzimuth - 5,
                        sight.summitAzimuth + 5};
  for (auto _ : state) benchmark::DoNotOptimize(SelectTilesInView(tokyo, frame));
}
BENCHMARK(BM_SelectTilesInView);

}  // namespace
}  // namespace velkaro
