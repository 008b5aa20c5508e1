#include "terrain/mesh_tile.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "core/bytes.h"

namespace velkaro {

std::string MeshTilePath(const std::string& meshFolder, const std::string& code) {
  std::string path = meshFolder;
  if (!path.empty() && path.back() != '/') path += '/';
  return path + code + ".bh2";
}

MeshTile DecodeMeshTile(std::span<const uint8_t> bytes) {
  MeshTile tile;
  if (bytes.size() != kMeshTileBytes) return tile;
  for (int i = 0; i < kMeshTileSamples; ++i) tile.samples[i] = ReadLeI16(bytes.data() + 2 * i);
  tile.present = true;
  return tile;
}

MeshTile LoadMeshTile(const std::string& meshFolder, const std::string& code) {
  const std::string path = MeshTilePath(meshFolder, code);
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) return MeshTile{};
  // One byte more than a tile holds, so that a longer file is noticed by the same read.
  std::vector<uint8_t> bytes(kMeshTileBytes + 1);
  const size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
  if (got != kMeshTileBytes) return MeshTile{};
  return DecodeMeshTile(std::span<const uint8_t>(bytes.data(), got));
}

std::vector<uint8_t> EncodeMeshTile(const MeshTile& tile) {
  std::vector<uint8_t> bytes;
  bytes.reserve(kMeshTileBytes);
  for (int16_t w : tile.samples) AppendLeI16(bytes, w);
  return bytes;
}

MeshSample DecodeMeshSample(int16_t w) {
  // Values below −30000 lie outside the format; the floor keeps their class a digit anyway.
  const int shifted = w + 30000;
  const int k = ((shifted % 10) + 10) % 10;
  return {(w - k) / 10 + 1500, k};
}

int16_t EncodeMeshSample(int height, int surfaceClass) {
  const int h = std::clamp(height, -1500, 4776);
  const int k = std::clamp(surfaceClass, 0, 9);
  int w = (h - 1500) * 10 + k;
  if (w > INT16_MAX) w -= 10;  // 4776 m with class 8 or 9 does not fit: one metre lower
  return static_cast<int16_t>(w);
}

}  // namespace velkaro
