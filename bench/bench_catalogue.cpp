#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "catalogue/cp932_text.h"
#include "catalogue/registered.h"
#include "maps/pages.h"

namespace velkaro {
namespace {

namespace fs = std::filesystem;

std::string TempPath(const std::string& name) {
  return (fs::temp_directory_path() / ("velkaro_bench_" + name + std::to_string(getpid())))
      .string();
}

// Rows like the user's: a name, a kana reading of 4 to 12 characters, an address, numbers and two
// event date-times, some rows without events.
std::vector<std::string> SampleRows(int n) {
  static const char* kKana[] = {"あ", "か", "が", "さ", "た", "な", "は", "ま", "や", "ら",
                                "ア", "カ", "ガ", "サ", "タ", "ナ", "ハ", "マ", "ヤ", "ー"};
  std::mt19937 rng(42);
  std::vector<std::string> rows;
  rows.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    std::string reading;
    const int len = 4 + static_cast<int>(rng() % 9);
    for (int k = 0; k < len; ++k) reading += kKana[rng() % 20];
    std::string row =
        "展望地点" + std::to_string(i) + "," + reading + ",神奈川県藤沢市鵠沼海岸４丁目," + "35." +
        std::to_string(100000 + rng() % 900000) + ",139." +
        std::to_string(100000 + rng() % 900000) + "," + std::to_string(rng() % 2000) + ",";
    if (i % 10 != 0) {
      row += "2027/0" + std::to_string(1 + rng() % 9) + "/1" + std::to_string(rng() % 10) +
             " 17:25:00,2027/11/08 16:41:00";
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

void BM_LoadSortSave10000(benchmark::State& state) {
  const std::string path = TempPath("location.csv");
  WriteCp932LinesLossless(path, SampleRows(10000));
  for (auto _ : state) {
    CatalogueLoad load = LoadRegisteredViewpoints(path);
    SortByReading(load.list);
    SortByEventDate(load.list);
    SaveRegisteredViewpoints(path, load.list, {});
    benchmark::DoNotOptimize(load.list.readingOrder.data());
  }
  fs::remove(path);
}
BENCHMARK(BM_LoadSortSave10000)->Unit(benchmark::kMillisecond);

// The parts of the cycle above: the two exchange sorts, and the file round trip with its flushes.
void BM_SortBoth10000(benchmark::State& state) {
  RegisteredViewpoints list;
  list.rows = SampleRows(10000);
  for (auto _ : state) {
    SortByReading(list);
    SortByEventDate(list);
    benchmark::DoNotOptimize(list.readingOrder.data());
  }
}
BENCHMARK(BM_SortBoth10000)->Unit(benchmark::kMillisecond);

void BM_LoadSave10000(benchmark::State& state) {
  const std::string path = TempPath("location_io.csv");
  WriteCp932LinesLossless(path, SampleRows(10000));
  for (auto _ : state) {
    CatalogueLoad load = LoadRegisteredViewpoints(path);
    SaveRegisteredViewpoints(path, load.list, {});
  }
  fs::remove(path);
}
BENCHMARK(BM_LoadSave10000)->Unit(benchmark::kMillisecond);

void BM_WritePickMapPage(benchmark::State& state) {
  RegisteredViewpoints reg;
  reg.rows = SampleRows(15);
  PickMapContent c;
  c.centre = {35.45472, 139.63062};
  c.mode = ViewMode::kDiamond;
  for (int i = 0; i < 16; ++i) {
    c.companionA.push_back({35.0 + i * 0.01, 139.0 + i * 0.01});
    c.companionB.push_back({35.1 + i * 0.01, 139.1 + i * 0.01});
    c.mainLine.push_back({35.2 + i * 0.01, 139.2 + i * 0.01});
  }
  c.registered = &reg;
  const std::string path = TempPath("map1.html");
  for (auto _ : state) WritePickMapPage(path, c);
  fs::remove(path);
}
BENCHMARK(BM_WritePickMapPage)->Unit(benchmark::kMillisecond);

void BM_WriteDirectionMapPage(benchmark::State& state) {
  const std::string path = TempPath("kgmap.html");
  for (auto _ : state) WriteDirectionMapPage(path, {35.45472, 139.63062}, {35.4, 139.55});
  fs::remove(path);
}
BENCHMARK(BM_WriteDirectionMapPage)->Unit(benchmark::kMillisecond);

void BM_WriteListPointMapPage(benchmark::State& state) {
  const std::string path = TempPath("mtmap.html");
  for (auto _ : state) WriteListPointMapPage(path, 35.45472f, 139.63062f);
  fs::remove(path);
}
BENCHMARK(BM_WriteListPointMapPage)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velkaro
