#include <benchmark/benchmark.h>

#include "astro/astro.h"

namespace velkaro {
namespace {

const Observer kObserver{35.45472, 139.63062, 273.0f};

// Instants a minute apart, as the event searches step them.
void BM_ComputeSunPosition(benchmark::State& state) {
  AstroTime t{2026, 5, 21, 5, 0, 0};
  for (auto _ : state) {
    t.minute = (t.minute + 1) % 60;
    benchmark::DoNotOptimize(ComputeSunPosition(t, kObserver));
  }
}
BENCHMARK(BM_ComputeSunPosition);

void BM_ComputeMoonPosition(benchmark::State& state) {
  AstroTime t{2026, 5, 21, 5, 0, 0};
  for (auto _ : state) {
    t.minute = (t.minute + 1) % 60;
    benchmark::DoNotOptimize(ComputeMoonPosition(t, kObserver));
  }
}
BENCHMARK(BM_ComputeMoonPosition);

void BM_SolveSunRiseSet(benchmark::State& state) {
  DateTime date = EncodeDate(2026, 1, 1);
  for (auto _ : state) {
    benchmark::DoNotOptimize(SolveSunRiseSet(date, kObserver, RiseOrSet::kRise));
    date += 1;
  }
}
BENCHMARK(BM_SolveSunRiseSet);

void BM_SolveMoonRiseSet(benchmark::State& state) {
  DateTime date = EncodeDate(2026, 1, 1);
  for (auto _ : state) {
    benchmark::DoNotOptimize(SolveMoonRiseSet(date, kObserver, RiseOrSet::kRise));
    date += 1;
  }
}
BENCHMARK(BM_SolveMoonRiseSet);

void BM_MoonAge(benchmark::State& state) {
  DateTime instant = EncodeDate(2026, 1, 1) + 0.5;
  for (auto _ : state) {
    benchmark::DoNotOptimize(MoonAge(instant, kObserver));
    instant += 1;
  }
}
BENCHMARK(BM_MoonAge);

// The whole 2015..2050 scan in half-hour steps.
void BM_EclipseScan(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ScanForEclipses());
}
BENCHMARK(BM_EclipseScan)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

}  // namespace
}  // namespace velkaro
