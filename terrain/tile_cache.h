#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "terrain/mesh_tile.h"

namespace velkaro {

// The last few decoded tiles of one mesh folder, so that lookups that keep landing in the same
// squares (the view map, the catalogue tools, a detailed drawing) read each file once. Owned by
// its user and passed explicitly; not shared between threads.
class TileCache {
 public:
  explicit TileCache(std::string meshFolder, size_t capacity = 16);

  const std::string& meshFolder() const { return meshFolder_; }
  size_t capacity() const { return capacity_; }
  // How many files have been read since construction (hits don't count).
  uint64_t fileReads() const { return fileReads_; }

  // The tile of a square, read on the first request and kept while it is among the most recently
  // used. The pointer stays valid after eviction for as long as the caller holds it.
  std::shared_ptr<const MeshTile> Get(const std::string& code);

  void Clear() { entries_.clear(); }

 private:
  struct Entry {
    std::string code;
    std::shared_ptr<const MeshTile> tile;
  };
  std::string meshFolder_;
  size_t capacity_;
  uint64_t fileReads_ = 0;
  std::vector<Entry> entries_;  // most recently used first
};

}  // namespace velkaro
