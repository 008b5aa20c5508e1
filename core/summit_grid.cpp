#include "core/summit_grid.h"

#include <cmath>
#include <cstring>

#include "core/bytes.h"
#include "core/constants.h"

namespace velkaro {

void SummitGrid::Resize(int rows, int cols) {
  rows_ = rows;
  cols_ = cols;
  heights_.assign(static_cast<size_t>(rows + 1) * (cols + 1), 0);
}

int SummitGrid::referenceRow() const { return static_cast<int>(std::trunc(rows_ / 2.0 - 3)); }
int SummitGrid::referenceCol() const { return static_cast<int>(std::trunc(cols_ / 2.0 - 1)); }

double SummitGrid::latitude(int i) const {
  return SummitReference.latitude + (referenceRow() - i) / 2400.0;
}
double SummitGrid::longitude(int j) const {
  return SummitReference.longitude + (j - referenceCol()) / 1600.0;
}

int SummitGrid::RowOf(double lat) const {
  return static_cast<int>(
      std::trunc(referenceRow() - (lat - SummitReference.latitude) * 2400 + 0.5));
}
int SummitGrid::ColOf(double lon) const {
  return static_cast<int>(
      std::trunc((lon - SummitReference.longitude) * 1600 + referenceCol() + 0.5));
}

SummitGrid LoadSummitGrid(std::span<const uint8_t> bytes) {
  SummitGrid grid;
  if (bytes.size() < 12) return grid;
  grid.originLatMinutes = ReadLeF32(bytes.data());
  grid.originLonMinutes = ReadLeF32(bytes.data() + 4);
  const int rows = ReadLeI16(bytes.data() + 8);
  const int cols = ReadLeI16(bytes.data() + 10);
  if (rows <= 0 || cols <= 0) return grid;
  // A header is never trusted with the allocation: the real grid has 38,016 cells, and a claim of
  // millions over a few bytes is a damaged resource, not a mountain.
  if (static_cast<long>(rows) * cols > kMaxSummitGridCells) return grid;
  grid.Resize(rows, cols);
  size_t offset = 12;
  for (int i = 1; i <= rows; ++i) {
    for (int j = 1; j <= cols; ++j) {
      if (offset + 2 > bytes.size()) return grid;
      grid.setHeight(i, j, ReadLeI16(bytes.data() + offset));
      offset += 2;
    }
  }
  return grid;
}

std::vector<uint8_t> EncodeSummitGrid(const SummitGrid& grid, bool omitLastCell) {
  std::vector<uint8_t> out;
  AppendLeF32(out, grid.originLatMinutes);
  AppendLeF32(out, grid.originLonMinutes);
  AppendLeI16(out, static_cast<int16_t>(grid.rows()));
  AppendLeI16(out, static_cast<int16_t>(grid.cols()));
  for (int i = 1; i <= grid.rows(); ++i)
    for (int j = 1; j <= grid.cols(); ++j) {
      if (omitLastCell && i == grid.rows() && j == grid.cols()) break;
      AppendLeI16(out, static_cast<int16_t>(grid.height(i, j)));
    }
  return out;
}

}  // namespace velkaro
