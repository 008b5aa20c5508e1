#include <benchmark/benchmark.h>

#include "catalogue/registered.h"
#include "core/datetime.h"
#include "core/sight_line.h"
#include "events/diamond.h"
#include "events/line_map.h"
#include "events/moon_calendar.h"
#include "events/pearl.h"
#include "events/registered_events.h"

namespace velkaro {
namespace {

const Observer kYokohama{35.45472, 139.63062, 273};
const DateTime kToday = EncodeDate(2026, 12, 9);

void BM_SearchDiamondEvents(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(SearchDiamondEvents(kYokohama, kToday));
}
BENCHMARK(BM_SearchDiamondEvents)->Unit(benchmark::kMillisecond);

void BM_SearchPearlEvents(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(SearchPearlEvents(kYokohama, kToday));
}
BENCHMARK(BM_SearchPearlEvents)->Unit(benchmark::kMillisecond);

void BM_BuildMoonCalendarTable(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(BuildMoonCalendarTable(kToday));
}
BENCHMARK(BM_BuildMoonCalendarTable)->Unit(benchmark::kMillisecond);

void BM_FindExtremeRiseSetDates(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(FindExtremeRiseSetDates(kToday, 273.0f));
}
BENCHMARK(BM_FindExtremeRiseSetDates)->Unit(benchmark::kMillisecond);

void BM_DiamondLineMap(benchmark::State& state) {
  const DateTime date = EncodeDate(2026, 12, 21);
  for (auto _ : state) {
    benchmark::DoNotOptimize(DiamondLineMap(date, true, "50", kToday, 273.0f));
  }
}
BENCHMARK(BM_DiamondLineMap)->Unit(benchmark::kMillisecond);

void BM_PearlLineMap(benchmark::State& state) {
  const DateTime date = EncodeDate(2026, 12, 21);
  for (auto _ : state) benchmark::DoNotOptimize(PearlLineMap(date, true, "50", kToday, 273.0f));
}
BENCHMARK(BM_PearlLineMap)->Unit(benchmark::kMillisecond);

// Every default row carries past dates, so all fifteen are searched.
void BM_UpdateRegisteredEventDates(benchmark::State& state) {
  const std::vector<std::string>& rows = DefaultRegisteredRows();
  for (auto _ : state) benchmark::DoNotOptimize(UpdateRegisteredEventDates(rows, kToday));
}
BENCHMARK(BM_UpdateRegisteredEventDates)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velkaro
