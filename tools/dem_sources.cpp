#include "tools/dem_sources.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <gdal.h>

#include <algorithm>
#include <filesystem>
#include <limits>
#include <map>
#include <stdexcept>

#include "core/constants.h"

namespace velkaro::tools {

namespace {

constexpr float kNoData = std::numeric_limits<float>::quiet_NaN();

struct GdalDataset {
  explicit GdalDataset(const std::string& path) {
    static const bool registered = [] {
      GDALAllRegister();
      CPLSetErrorHandler(CPLQuietErrorHandler);
      return true;
    }();
    (void)registered;
    handle = GDALOpen(path.c_str(), GA_ReadOnly);
    if (!handle) throw std::runtime_error("cannot open elevation source " + path);
  }
  ~GdalDataset() { GDALClose(handle); }
  GdalDataset(const GdalDataset&) = delete;
  GdalDataset& operator=(const GdalDataset&) = delete;
  GDALDatasetH handle = nullptr;
};

std::vector<float> ReadBand(GDALDatasetH ds, int bandIndex, int width, int height,
                            const std::string& path) {
  GDALRasterBandH band = GDALGetRasterBand(ds, bandIndex);
  if (!band) throw std::runtime_error("no band " + std::to_string(bandIndex) + " in " + path);
  std::vector<float> values(static_cast<size_t>(width) * height);
  if (GDALRasterIO(band, GF_Read, 0, 0, width, height, values.data(), width, height, GDT_Float32, 0,
                   0) != CE_None) {
    throw std::runtime_error("cannot read " + path);
  }
  return values;
}

double EdgeWeight(const DemRaster& r, double col, double row) {
  if (r.blendPixels <= 0) return 1;
  const double edge = std::min({col + 0.5, r.width - 0.5 - col, row + 0.5, r.height - 0.5 - row});
  return std::clamp(edge / r.blendPixels, 0.0, 1.0);
}

}  // namespace

void DemRaster::PixelOf(double latitude, double longitude, double* col, double* row) const {
  if (projection == Projection::kGeographic) {
    *col = (longitude - originX) / pixelX - 0.5;
    *row = (originY - latitude) / pixelY - 0.5;
    return;
  }
  const double worldPixels = 256.0 * static_cast<double>(1 << zoom);
  const double x = (longitude + 180) / 360 * worldPixels;
  const double y = (1 - std::asinh(std::tan(latitude * kDegToRad)) / kPi) / 2 * worldPixels;
  *col = x - originX - 0.5;
  *row = y - originY - 0.5;
}

float DemRaster::Nearest(double latitude, double longitude) const {
  double col, row;
  PixelOf(latitude, longitude, &col, &row);
  if (!(col >= -0.5 && col < width - 0.5 && row >= -0.5 && row < height - 0.5)) return kNoData;
  const int c = std::clamp(static_cast<int>(std::floor(col + 0.5)), 0, width - 1);
  const int r = std::clamp(static_cast<int>(std::floor(row + 0.5)), 0, height - 1);
  return at(c, r);
}

std::optional<DemValue> DemRaster::Sample(double latitude, double longitude) const {
  double col, row;
  PixelOf(latitude, longitude, &col, &row);
  if (!(col >= -0.5 && col < width - 0.5 && row >= -0.5 && row < height - 0.5)) return {};
  const int nc = std::clamp(static_cast<int>(std::floor(col + 0.5)), 0, width - 1);
  const int nr = std::clamp(static_cast<int>(std::floor(row + 0.5)), 0, height - 1);
  DemValue v;
  v.weight = EdgeWeight(*this, col, row);
  if (std::isnan(at(nc, nr))) {
    v.noData = true;
    return v;
  }
  const double cc = std::clamp(col, 0.0, width - 1.0);
  const double rr = std::clamp(row, 0.0, height - 1.0);
  const int c0 = std::min(static_cast<int>(cc), width - 2 < 0 ? 0 : width - 2);
  const int r0 = std::min(static_cast<int>(rr), height - 2 < 0 ? 0 : height - 2);
  const int c1 = std::min(c0 + 1, width - 1);
  const int r1 = std::min(r0 + 1, height - 1);
  const double fx = cc - c0;
  const double fy = rr - r0;
  const double w[4] = {(1 - fx) * (1 - fy), fx * (1 - fy), (1 - fx) * fy, fx * fy};
  const float h[4] = {at(c0, r0), at(c1, r0), at(c0, r1), at(c1, r1)};
  double sum = 0, weights = 0;
  for (int k = 0; k < 4; ++k) {
    if (std::isnan(h[k])) continue;
    sum += w[k] * h[k];
    weights += w[k];
  }
  v.height = weights > 0 ? sum / weights : at(nc, nr);
  return v;
}

DemRaster LoadGeographicRaster(const std::string& path, double scale, double blendPixels) {
  GdalDataset ds(path);
  DemRaster r;
  r.name = std::filesystem::path(path).filename().string();
  r.width = GDALGetRasterXSize(ds.handle);
  r.height = GDALGetRasterYSize(ds.handle);
  double gt[6];
  if (GDALGetGeoTransform(ds.handle, gt) != CE_None || gt[2] != 0 || gt[4] != 0 || gt[5] >= 0) {
    throw std::runtime_error("no north-up geographic georeference in " + path);
  }
  r.originX = gt[0];
  r.originY = gt[3];
  r.pixelX = gt[1];
  r.pixelY = -gt[5];
  r.blendPixels = blendPixels;
  r.values = ReadBand(ds.handle, 1, r.width, r.height, path);
  int hasNoData = 0;
  const double noData = GDALGetRasterNoDataValue(GDALGetRasterBand(ds.handle, 1), &hasNoData);
  for (float& v : r.values) {
    if (hasNoData && v == static_cast<float>(noData)) {
      v = kNoData;
    } else {
      v = static_cast<float>(v * scale);
    }
  }
  return r;
}

DemRaster LoadGsiMosaic(const std::string& dir, int zoom) {
  namespace fs = std::filesystem;
  const fs::path base = fs::path(dir) / std::to_string(zoom);
  std::map<std::pair<int, int>, fs::path> tiles;  // sorted, so the mosaic is built the same way
  std::error_code ec;
  for (const auto& column : fs::directory_iterator(base, ec)) {
    if (!column.is_directory()) continue;
    for (const auto& file : fs::directory_iterator(column.path())) {
      if (file.path().extension() != ".png") continue;
      try {
        tiles[{std::stoi(column.path().filename().string()),
               std::stoi(file.path().stem().string())}] = file.path();
      } catch (const std::exception&) {
        // not a tile name
      }
    }
  }
  if (tiles.empty()) throw std::runtime_error("no elevation tiles under " + base.string());
  int minX = INT32_MAX, maxX = INT32_MIN, minY = INT32_MAX, maxY = INT32_MIN;
  for (const auto& [xy, path] : tiles) {
    minX = std::min(minX, xy.first);
    maxX = std::max(maxX, xy.first);
    minY = std::min(minY, xy.second);
    maxY = std::max(maxY, xy.second);
  }
  DemRaster r;
  r.name = "gsi_dem_png_z" + std::to_string(zoom);
  r.projection = DemRaster::Projection::kWebMercator;
  r.zoom = zoom;
  r.width = (maxX - minX + 1) * 256;
  r.height = (maxY - minY + 1) * 256;
  r.originX = minX * 256.0;
  r.originY = minY * 256.0;
  r.values.assign(static_cast<size_t>(r.width) * r.height, kNoData);
  for (const auto& [xy, path] : tiles) {
    GdalDataset ds(path.string());
    if (GDALGetRasterXSize(ds.handle) != 256 || GDALGetRasterYSize(ds.handle) != 256 ||
        GDALGetRasterCount(ds.handle) < 3) {
      throw std::runtime_error("not a 256 x 256 RGB elevation tile: " + path.string());
    }
    std::vector<float> band[3];
    for (int b = 0; b < 3; ++b) band[b] = ReadBand(ds.handle, b + 1, 256, 256, path.string());
    const int x0 = (xy.first - minX) * 256;
    const int y0 = (xy.second - minY) * 256;
    for (int i = 0; i < 256 * 256; ++i) {
      const auto x = static_cast<int32_t>(band[0][i]) * 65536 +
                     static_cast<int32_t>(band[1][i]) * 256 + static_cast<int32_t>(band[2][i]);
      float h;
      if (x == (1 << 23)) {
        h = kNoData;
      } else if (x < (1 << 23)) {
        h = static_cast<float>(x * 0.01);
      } else {
        h = static_cast<float>((x - (1 << 24)) * 0.01);
      }
      r.values[static_cast<size_t>(y0 + i / 256) * r.width + x0 + i % 256] = h;
    }
  }
  return r;
}

DemSources LoadDemSources(const std::string& demDir) {
  const std::filesystem::path d(demDir);
  DemSources s;
  // Finest first. The edge bands are about 300 m for the 1" sources and 900 m for the 3" one.
  s.fine.push_back(
      LoadGeographicRaster((d / "srtm1_summit_138.6-138.9E_35.2-35.5N.tif").string(), 1, 10));
  s.fine.push_back(LoadGeographicRaster(
      (d / "aster_hakone_138.9-139.1E_35.15-35.35N_720x720_int16le_decimeters.raw").string(), 0.1,
      10));
  s.fine.push_back(LoadGeographicRaster(
      (d / "aster_tanzawa_139.106-139.351E_35.247-35.488N.tif").string(), 1, 10));
  s.fine.push_back(LoadGeographicRaster((d / "srtm3_N35E138.tif").string(), 1, 10));
  s.gsi = LoadGsiMosaic((d / "gsi_dem_png_z10").string(), 10);
  return s;
}

CompositeValue SampleComposite(const DemSources& sources, double latitude, double longitude) {
  CompositeValue out;
  double remaining = 1;
  double height = 0;
  for (const DemRaster& r : sources.fine) {
    const auto v = r.Sample(latitude, longitude);
    if (!v || v->noData || v->weight <= 0) continue;
    out.covered = true;
    height += remaining * v->weight * v->height;
    remaining *= 1 - v->weight;
    if (remaining <= 0) break;
  }
  const auto g = sources.gsi.Sample(latitude, longitude);
  out.gsiNoData = !g || g->noData;
  if (remaining > 0) {
    // Open water where the base layer has no value: sea level.
    if (!out.gsiNoData) {
      height += remaining * g->height;
      out.covered = true;
    }
  }
  out.height = height;
  return out;
}

}  // namespace velkaro::tools
