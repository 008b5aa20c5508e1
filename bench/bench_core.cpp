#include <benchmark/benchmark.h>

#include "core/sight_line.h"

namespace {

void BM_ComputeSightLine(benchmark::State& state) {
  const velkaro::Observer observer{35.45472, 139.63062, 273.0f};
  velkaro::SightLine line;
  line.targetLatitude = 35.363521;
  line.targetLongitude = 138.730783333;
  line.targetHeight = 3700;
  for (auto _ : state) {
    velkaro::ComputeSightLine(observer, line);
    benchmark::DoNotOptimize(line);
    line.targetLatitude += 1e-9;
  }
}
BENCHMARK(BM_ComputeSightLine);

}  // namespace
