#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace velkaro {

// One terrain tile file: 202 × 202 signed 16-bit little-endian samples without a header, rows
// north to south, columns west to east. Rows and columns 201-202 repeat the first two rows and
// columns of the neighbouring squares to the south and east.
inline constexpr int kMeshTileSide = 202;
inline constexpr int kMeshTileSamples = kMeshTileSide * kMeshTileSide;
inline constexpr size_t kMeshTileBytes = kMeshTileSamples * 2;  // 81,608
// The sample of a missing tile: class 9, height −999 m.
inline constexpr int16_t kMissingMeshSample = -24981;

struct MeshTile {
  std::vector<int16_t> samples = std::vector<int16_t>(kMeshTileSamples, kMissingMeshSample);
  bool present = false;  // false: the filler grid of a missing (or malformed) file

  // r and s are 1-based, 1..202.
  int16_t sample(int r, int s) const {
    return samples[static_cast<size_t>(r - 1) * kMeshTileSide + (s - 1)];
  }
  void setSample(int r, int s, int16_t w) {
    samples[static_cast<size_t>(r - 1) * kMeshTileSide + (s - 1)] = w;
  }
};

// The path of a square's file inside the mesh folder.
std::string MeshTilePath(const std::string& meshFolder, const std::string& code);

// Reads the whole file in one read. A missing file, or one that is not exactly 81,608 bytes, gives
// the filler grid.
MeshTile LoadMeshTile(const std::string& meshFolder, const std::string& code);
// The same from bytes already in memory.
MeshTile DecodeMeshTile(std::span<const uint8_t> bytes);
// The file's bytes.
std::vector<uint8_t> EncodeMeshTile(const MeshTile& tile);

// Surface classes written by the data pipeline.
inline constexpr int kSurfaceLand = 0;
inline constexpr int kSurfaceWater = 5;
inline constexpr int kSurfaceFiller = 9;

struct MeshSample {
  int height = 0;        // metres
  int surfaceClass = 0;  // 0..9
};

// A raw value w carries height h and class k as w = (h − 1500) × 10 + k.
MeshSample DecodeMeshSample(int16_t w);
// The raw value of a height and class; heights outside −1500..4776 m are clamped to that range
// (4776 m with class 8 or 9 overflows 16 bits and is stored as 4775 m).
int16_t EncodeMeshSample(int height, int surfaceClass);

}  // namespace velkaro
