#include "tools/tile_builder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <thread>

#include "core/datum.h"
#include "terrain/mesh_code.h"
#include "terrain/mesh_tile.h"

namespace velkaro::tools {

namespace {

constexpr int kOwnSamples = 200;  // samples of a square's own rows and columns

// The sample grid of all tiles at once: global row g lies 1.5" × (g + 0.5) south of the north
// edge of the northernmost squares, column c 2.25" × (c + 0.5) east of the west edge of the
// westernmost. A tile's rows and columns 201-202 are its neighbours' 1-2 here, so neighbouring
// tiles agree on every shared sample by construction.
struct SampleGrid {
  int kNorth = 0;  // index of the northernmost square row
  int mWest = 0;   // index of the westernmost square column
  int rows = 0;
  int cols = 0;
  std::vector<float> height;
  std::vector<uint8_t> flags;

  size_t index(int g, int c) const { return static_cast<size_t>(g) * cols + c; }
  double tokyoLatitude(int g) const { return (kNorth + 1) / 12.0 - (g + 0.5) * kMeshRowStep; }
  double tokyoLongitude(int c) const { return mWest / 8.0 + (c + 0.5) * kMeshColStep; }
};

enum Flag : uint8_t { kGsiNoData = 1, kLake = 2, kSea = 4 };

int GsiPixelIndex(const DemRaster& gsi, double latitude, double longitude) {
  double col, row;
  gsi.PixelOf(latitude, longitude, &col, &row);
  const int c = static_cast<int>(std::floor(col + 0.5));
  const int r = static_cast<int>(std::floor(row + 0.5));
  if (c < 0 || r < 0 || c >= gsi.width || r >= gsi.height) return -1;
  return r * gsi.width + c;
}

void SampleRows(const DemSources& sources, const WaterMap& water, SampleGrid& grid, int first,
                int step) {
  for (int g = first; g < grid.rows; g += step) {
    const double latT = grid.tokyoLatitude(g);
    for (int c = 0; c < grid.cols; ++c) {
      const DatumShift world = TokyoToWorld(latT, grid.tokyoLongitude(c));
      const double lat = world.worldLatitude;
      const double lon = world.worldLongitude;
      const size_t i = grid.index(g, c);
      const CompositeValue v = SampleComposite(sources, lat, lon);
      uint8_t flags = v.gsiNoData ? kGsiNoData : 0;
      float h = static_cast<float>(v.height);
      const int pixel = GsiPixelIndex(sources.gsi, lat, lon);
      if (pixel >= 0 && water.body[pixel] >= 0) {
        flags |= kLake;
        h = water.bodies[water.body[pixel]].level;
      }
      grid.height[i] = h;
      grid.flags[i] = flags;
    }
  }
}

// The open sea: from the samples where the base layer has no value, through everything at sea
// level or below that touches it. Lakes stop it.
long MarkSea(SampleGrid& grid) {
  auto low = [&](size_t i) { return !(grid.flags[i] & kLake) && grid.height[i] < 0.5f; };
  std::vector<uint32_t> queue;
  for (size_t i = 0; i < grid.height.size(); ++i) {
    if ((grid.flags[i] & kGsiNoData) && low(i)) {
      grid.flags[i] |= kSea;
      queue.push_back(static_cast<uint32_t>(i));
    }
  }
  for (size_t head = 0; head < queue.size(); ++head) {
    const size_t i = queue[head];
    const int g = static_cast<int>(i / grid.cols);
    const int c = static_cast<int>(i % grid.cols);
    const int ng[4] = {g - 1, g + 1, g, g};
    const int nc[4] = {c, c, c - 1, c + 1};
    for (int k = 0; k < 4; ++k) {
      if (ng[k] < 0 || nc[k] < 0 || ng[k] >= grid.rows || nc[k] >= grid.cols) continue;
      const size_t j = grid.index(ng[k], nc[k]);
      if ((grid.flags[j] & kSea) || !low(j)) continue;
      grid.flags[j] |= kSea;
      queue.push_back(static_cast<uint32_t>(j));
    }
  }
  return static_cast<long>(queue.size());
}

int16_t EncodeSample(float height, uint8_t flags) {
  if (flags & kSea) return EncodeMeshSample(-1, kSurfaceLand);
  const int metres = static_cast<int>(std::floor(height + 0.5f));
  if (flags & kLake) return EncodeMeshSample(std::max(metres, 0), kSurfaceWater);
  // Land is never written below sea level: a negative height means sea to the drawing.
  return EncodeMeshSample(std::max(metres, 0), kSurfaceLand);
}

void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  const std::filesystem::path tmp = path.string() + ".tmp";
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(tmp.c_str(), "wb"), &std::fclose);
  if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() ||
      std::fflush(file.get()) != 0) {
    throw std::runtime_error("cannot write " + tmp.string());
  }
  file.reset();
  std::filesystem::rename(tmp, path);
}

}  // namespace

std::vector<SquareIndex> SquaresOverlapping(const TileArea& area) {
  std::vector<SquareIndex> squares;
  const int k0 = static_cast<int>(std::floor(area.south * 12)) - 1;
  const int k1 = static_cast<int>(std::floor(area.north * 12)) + 1;
  const int m0 = static_cast<int>(std::floor(area.west * 8)) - 1;
  const int m1 = static_cast<int>(std::floor(area.east * 8)) + 1;
  for (int k = k1; k >= k0; --k) {
    for (int m = m0; m <= m1; ++m) {
      double south = 1e9, north = -1e9, west = 1e9, east = -1e9;
      for (int a = 0; a < 2; ++a) {
        for (int b = 0; b < 2; ++b) {
          const DatumShift w = TokyoToWorld((k + a) / 12.0, (m + b) / 8.0);
          south = std::min<double>(south, w.worldLatitude);
          north = std::max<double>(north, w.worldLatitude);
          west = std::min<double>(west, w.worldLongitude);
          east = std::max<double>(east, w.worldLongitude);
        }
      }
      if (south < area.north && north > area.south && west < area.east && east > area.west) {
        squares.push_back({k, m});
      }
    }
  }
  return squares;
}

TileBuildReport BuildMeshTiles(const DemSources& sources, const std::string& outDir,
                               const TileBuildOptions& options) {
  const std::vector<SquareIndex> squares = SquaresOverlapping(options.area);
  if (squares.empty()) throw std::runtime_error("no squares in the tile area");
  SampleGrid grid;
  int kSouth = squares.front().k, mEast = squares.front().m;
  grid.kNorth = squares.front().k;
  grid.mWest = squares.front().m;
  for (const SquareIndex& s : squares) {
    grid.kNorth = std::max(grid.kNorth, s.k);
    kSouth = std::min(kSouth, s.k);
    grid.mWest = std::min(grid.mWest, s.m);
    mEast = std::max(mEast, s.m);
  }
  grid.rows = (grid.kNorth - kSouth + 1) * kOwnSamples + 2;
  grid.cols = (mEast - grid.mWest + 1) * kOwnSamples + 2;
  grid.height.assign(static_cast<size_t>(grid.rows) * grid.cols, 0.0f);
  grid.flags.assign(grid.height.size(), 0);

  const WaterMap water =
      FindFlatWater(sources.gsi, options.lakeMinPixels, options.lakeMinShoreAbove);

  const int threads = std::max(1, options.threads);
  {
    std::vector<std::thread> workers;
    for (int t = 1; t < threads; ++t) {
      workers.emplace_back([&, t] { SampleRows(sources, water, grid, t, threads); });
    }
    SampleRows(sources, water, grid, 0, threads);
    for (auto& w : workers) w.join();
  }

  TileBuildReport report;
  report.seaSamples = MarkSea(grid);
  report.lakeBodies = water.bodies;
  report.lakes = static_cast<int>(water.bodies.size());

  const std::filesystem::path dir(outDir);
  std::filesystem::create_directories(dir);
  MeshTile tile;
  tile.present = true;
  for (const SquareIndex& s : squares) {
    const int g0 = (grid.kNorth - s.k) * kOwnSamples;
    const int c0 = (s.m - grid.mWest) * kOwnSamples;
    for (int r = 1; r <= kMeshTileSide; ++r) {
      for (int c = 1; c <= kMeshTileSide; ++c) {
        const size_t i = grid.index(g0 + r - 1, c0 + c - 1);
        tile.setSample(r, c, EncodeSample(grid.height[i], grid.flags[i]));
        if (r <= kOwnSamples && c <= kOwnSamples && (grid.flags[i] & kLake)) ++report.lakeSamples;
      }
    }
    // The centre of the square names it.
    const std::string code = MeshCodeOf((s.k + 0.5) / 12.0, (s.m + 0.5) / 8.0);
    WriteFile(dir / (code + ".bh2"), EncodeMeshTile(tile));
    ++report.tiles;
  }
  return report;
}

}  // namespace velkaro::tools
