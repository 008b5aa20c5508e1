// velkaro-build-view-map --tiles DIR --out FILE: the build step that computes the view map
// picture from the terrain tiles. It stands apart from velkaro-cli because the CLI embeds the
// picture it writes.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/text.h"
#include "maps/view_map.h"
#include "maps/visibility_sweep.h"
#include "maps/visibility_terrain.h"

int main(int argc, char** argv) {
  std::string tiles;
  std::string out;
  int rays = velkaro::VisibilitySweepOptions{}.rayCount;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--tiles") == 0) {
      tiles = argv[i + 1];
    } else if (std::strcmp(argv[i], "--out") == 0) {
      out = argv[i + 1];
    } else if (std::strcmp(argv[i], "--rays") == 0) {
      rays = std::atoi(argv[i + 1]);
    } else {
      tiles.clear();
      break;
    }
  }
  if (tiles.empty() || out.empty()) {
    std::fprintf(stderr, "usage: velkaro-build-view-map --tiles DIR --out FILE [--rays N]\n");
    return 2;
  }
  const auto t0 = std::chrono::steady_clock::now();
  const velkaro::VisibilityTerrain terrain = velkaro::LoadVisibilityTerrain(tiles);
  if (terrain.tilesFound == 0) {
    std::fprintf(stderr, "velkaro-build-view-map: no terrain tiles in %s\n", tiles.c_str());
    return 1;
  }
  velkaro::VisibilitySweepOptions options;
  options.rayCount = rays;
  const velkaro::VisibilityField field = velkaro::ComputeVisibilityField(terrain, options);
  const velkaro::ViewMapImage image = velkaro::PaintViewMap(terrain, field);
  std::string error;
  const auto gif = velkaro::EncodeViewMapGif(image, &error);
  if (!gif) {
    std::fprintf(stderr, "velkaro-build-view-map: %s\n", error.c_str());
    return 1;
  }
  if (!velkaro::WriteFileAtomic(
          out, std::string_view(reinterpret_cast<const char*>(gif->data()), gif->size()), &error)) {
    std::fprintf(stderr, "velkaro-build-view-map: %s\n", error.c_str());
    return 1;
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  std::printf("view map: %d tiles (%d missing), %zu colours, %zu bytes, %.1f s\n",
              terrain.tilesFound, terrain.tilesMissing, image.palette.size(), gif->size(), seconds);
  return 0;
}
