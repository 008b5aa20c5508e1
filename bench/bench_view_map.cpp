#include <benchmark/benchmark.h>

#include <string>

#include "core/text.h"
#include "maps/view_map.h"
#include "maps/visibility_sweep.h"
#include "maps/visibility_terrain.h"
#include "resources/embedded.h"

namespace velkaro {
namespace {

const std::string kMeshFolder = std::string(VELKARO_BIN_DIR) + "/DATA/DATA1";

// The whole build step: tiles read, visibility of every pixel, colours, GIF.
void BM_ViewMapPicture(benchmark::State& state) {
  for (auto _ : state) {
    const VisibilityTerrain terrain = LoadVisibilityTerrain(kMeshFolder);
    const VisibilityField field = ComputeVisibilityField(terrain);
    const ViewMapImage image = PaintViewMap(terrain, field);
    auto gif = EncodeViewMapGif(image);
    benchmark::DoNotOptimize(gif);
  }
}
BENCHMARK(BM_ViewMapPicture)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

void BM_DecodeEmbeddedViewMap(benchmark::State& state) {
  for (auto _ : state) {
    ViewMap map(EmbeddedResource("ZorvViewMap"));
    benchmark::DoNotOptimize(map.image());
  }
}
BENCHMARK(BM_DecodeEmbeddedViewMap)->Unit(benchmark::kMillisecond);

void BM_VisibilityValueAt(benchmark::State& state) {
  ViewMap map(EmbeddedResource("ZorvViewMap"));
  map.image();
  double lat = 35.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(VisibilityValueAt(map, lat, 139.5));
    lat = lat < 36.0 ? lat + 0.0001 : 35.0;
  }
}
BENCHMARK(BM_VisibilityValueAt);

}  // namespace
}  // namespace velkaro
