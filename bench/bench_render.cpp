#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>

#include "core/folders.h"
#include "core/summit_grid.h"
#include "core/text.h"
#include "render/panorama.h"
#include "render/pictures.h"
#include "render/terrain_view.h"
#include "resources/embedded.h"

namespace velkaro {
namespace {

void EnsureApp() {
  if (QGuiApplication::instance()) return;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "bench_render";
  static char* argv[] = {name, nullptr};
  static QGuiApplication app(argc, argv);
}

struct Fixture {
  SummitGrid grid = LoadSummitGrid(EmbeddedResource("zorvht"));
  Pictures pictures = LoadPictures(EmbeddedResource("kumo"), EmbeddedResource("moonlist"));
  AppFolders folders = MakeAppFolders(ExecutableFolder());
  std::vector<MountainLabel> mountains;
  Fixture() {
    EnsureApp();
    if (auto lines = ReadCp932Lines(folders.labelList)) mountains = ParseMountainLabels(*lines);
  }
  PanoramaInputs Inputs(double lat, double lon, float elev, bool foreground) const {
    PanoramaInputs in;
    Pick p;
    p.latitude = static_cast<float>(lat);
    p.longitude = static_cast<float>(lon);
    p.elevation = elev;
    p.name = "bench";
    in.viewpoint = LoadCurrentViewpoint(p, false, "").viewpoint;
    in.grid = &grid;
    in.kumo = &pictures.kumo;
    in.mountains = &mountains;
    in.foreground = foreground;
    in.cloudSeed = 7;
    return in;
  }
};

const Fixture& F() {
  static const Fixture f;
  return f;
}

void BM_RedrawPanoramaSimple(benchmark::State& state) {
  const PanoramaInputs in = F().Inputs(35.45472, 139.63062, 273, false);
  // As the window does: the previous picture's memory is drawn over again.
  QImage previous;
  for (auto _ : state) {
    PanoramaResult r = RedrawPanorama(in, std::move(previous));
    previous = std::move(r.panorama);
  }
}
BENCHMARK(BM_RedrawPanoramaSimple)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RedrawPanoramaForegroundAndLabels(benchmark::State& state) {
  const PanoramaInputs in = F().Inputs(35.45472, 139.63062, 273, true);
  QImage previous, canvas;
  for (auto _ : state) {
    PanoramaResult r = RedrawPanorama(in, std::move(previous));
    CopyPanoramaToWindow(canvas, r.panorama);
    DrawLabels(canvas, r.labels, LabelDisplayState::kAll, {});
    previous = std::move(r.panorama);
  }
}
BENCHMARK(BM_RedrawPanoramaForegroundAndLabels)->Unit(benchmark::kMillisecond)->UseRealTime();

void Terrain(benchmark::State& state, double lat, double lon, float elev) {
  const PanoramaInputs in = F().Inputs(lat, lon, elev, true);
  const PanoramaResult base = RedrawPanorama(in);
  TerrainContext ctx;
  ctx.viewpoint = in.viewpoint;
  ctx.sight = base.sight;
  ctx.frame = base.frame;
  ctx.style = DrawingStyle::kPhoto;
  ctx.hmax = base.hmax;
  ctx.threads = static_cast<int>(state.range(0));
  int tiles = 0;
  for (auto _ : state) {
    QImage pano = base.panorama.copy();
    const TerrainResult r =
        RenderTerrainPanorama(pano, ctx, F().mountains, F().folders.meshFolder, nullptr, 1000);
    tiles = r.tilesDrawn;
  }
  state.counters["tiles"] = tiles;
}
void BM_RenderTerrainDefaultViewpoint(benchmark::State& s) {
  Terrain(s, 35.45472, 139.63062, 273);
}
void BM_RenderTerrainLakeYamanaka(benchmark::State& s) {
  Terrain(s, 35.42, 138.87, 985);
}
BENCHMARK(BM_RenderTerrainDefaultViewpoint)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_RenderTerrainLakeYamanaka)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Fill rate on 100-pixel triangles (right triangles with 15-pixel legs cover 105 pixel centres),
// spread over a 1920 x 1080 image.
void BM_FillShadedTriangle100px(benchmark::State& state) {
  QImage img(1920, 1080, QImage::Format_RGB32);
  const Canvas cv = Canvas::Of(img);
  int64_t pixels = 0;
  int k = 0;
  for (auto _ : state) {
    const int x = (k * 37) % 1900, y = (k * 53) % 1060;
    ++k;
    FillShadedTriangle(cv, {x, y, {10, 20, 30}}, {x + 15, y, {200, 100, 50}},
                       {x, y + 15, {90, 250, 10}});
    pixels += 105;
  }
  state.counters["pixels/s"] =
      benchmark::Counter(static_cast<double>(pixels), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FillShadedTriangle100px);

}  // namespace
}  // namespace velkaro
