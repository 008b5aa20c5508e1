#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace velkaro {

// The mountain's own height grid: rows north to south, columns west to east, one sample every
// 1.5" of latitude and 2.25" of longitude. Indices are 1-based; row 0 and column 0 exist and stay 0.
class SummitGrid {
 public:
  int rows() const { return rows_; }
  int cols() const { return cols_; }
  bool empty() const { return rows_ == 0 || cols_ == 0; }
  int height(int i, int j) const { return heights_[static_cast<size_t>(i) * (cols_ + 1) + j]; }
  void setHeight(int i, int j, int h) { heights_[static_cast<size_t>(i) * (cols_ + 1) + j] = h; }

  // The reference row and column lie exactly on the summit reference point.
  int referenceRow() const;
  int referenceCol() const;
  double latitude(int i) const;
  double longitude(int j) const;
  // The cell nearest to a single point (used for spot heights).
  int RowOf(double latitude) const;
  int ColOf(double longitude) const;

  float originLatMinutes = 0;
  float originLonMinutes = 0;

  void Resize(int rows, int cols);

 private:
  int rows_ = 0;
  int cols_ = 0;
  std::vector<int32_t> heights_;
};

inline constexpr long kMaxSummitGridCells = 1L << 22;

// Reads the "zorvht" layout: two 32-bit floats (origin in arc-minutes, Tokyo datum), rows and cols
// as signed 16-bit, then heights row by row, all little-endian. Cells without a stored value stay
// 0; bytes shorter than the header, a non-positive size or one above kMaxSummitGridCells give an
// empty grid.
SummitGrid LoadSummitGrid(std::span<const uint8_t> bytes);

// The same layout written back, for the data tools and tests.
std::vector<uint8_t> EncodeSummitGrid(const SummitGrid& grid, bool omitLastCell = false);

}  // namespace velkaro
