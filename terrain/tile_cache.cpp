#include "terrain/tile_cache.h"

#include <algorithm>
#include <utility>

namespace velkaro {

TileCache::TileCache(std::string meshFolder, size_t capacity)
    : meshFolder_(std::move(meshFolder)), capacity_(std::max<size_t>(capacity, 1)) {}

std::shared_ptr<const MeshTile> TileCache::Get(const std::string& code) {
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].code == code) {
      if (i != 0) std::rotate(entries_.begin(), entries_.begin() + i, entries_.begin() + i + 1);
      return entries_.front().tile;
    }
  }
  auto tile = std::make_shared<const MeshTile>(LoadMeshTile(meshFolder_, code));
  ++fileReads_;
  if (entries_.size() >= capacity_) entries_.pop_back();
  entries_.insert(entries_.begin(), Entry{code, tile});
  return tile;
}

}  // namespace velkaro
