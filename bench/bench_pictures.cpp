#include <benchmark/benchmark.h>

#include "tools/pictures/draw_pictures.h"
#include "tools/pictures/kumo.h"
#include "tools/pictures/moonlist.h"

namespace {

// The build draws both pictures once; these keep that step short.
void BM_DrawKumo(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(velkaro::pictures::DrawKumo());
}
BENCHMARK(BM_DrawKumo)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_MoonListJpeg(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(velkaro::pictures::MoonListJpeg());
}
BENCHMARK(BM_MoonListJpeg)->Unit(benchmark::kMillisecond);

}  // namespace
