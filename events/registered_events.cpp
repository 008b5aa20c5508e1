#include "events/registered_events.h"

#include <cmath>
#include <optional>

#include "core/text.h"
#include "events/diamond.h"

namespace velkaro {
namespace {

enum class RowAction { kKeep, kRecompute };

RowAction Classify(const std::vector<std::string>& fields, DateTime today) {
  const std::string& f7 = Field(fields, 7);
  if (f7 == "OB") return RowAction::kKeep;
  const size_t len = Utf8Length(f7);
  if (len < 2) return RowAction::kRecompute;
  if (len <= 6) return RowAction::kKeep;
  DateTime t = 0;
  if (!ParseDateTime(f7, t)) return RowAction::kKeep;
  const double day = WholeDay(t);
  const bool midnight = (t - day) * 86400.0 < 0.5;
  if (t < WholeDay(today) || midnight) return RowAction::kRecompute;
  return RowAction::kKeep;
}

// A coordinate field: missing counts as `missing`; present but not a number is unreadable.
std::optional<double> NumberField(const std::vector<std::string>& fields, size_t n,
                                  double missing) {
  if (fields.size() < n || fields[n - 1].empty()) return missing;
  return ParseNumber(fields[n - 1]);
}

}  // namespace

bool RegisteredRowNeedsUpdate(const std::string& row, DateTime today) {
  return Classify(SplitFields(row), today) == RowAction::kRecompute;
}

std::vector<std::string> UpdateRegisteredEventDates(const std::vector<std::string>& rows,
                                                    DateTime today) {
  std::vector<std::string> out;
  out.reserve(rows.size());
  for (const std::string& row : rows) {
    const std::vector<std::string> fields = SplitFields(row);
    if (Classify(fields, today) != RowAction::kRecompute) {
      out.push_back(row);
      continue;
    }
    const std::optional<double> lat = NumberField(fields, 4, 0);
    const std::optional<double> lon = NumberField(fields, 5, 0);
    const std::optional<double> elev = NumberField(fields, 6, -1);
    if (!lat || !lon || !elev || *lat <= 0 || *lon <= 0 || *elev < 0) {
      out.push_back(row);
      continue;
    }
    const Observer observer{*lat, *lon, static_cast<float>(*elev)};
    // Summit azimuth, reference and summit elevation, and the tolerance all for this row's own
    // place, whatever was drawn last.
    const SummitSight sight = ComputeSummitSight(observer);
    std::string rebuilt;
    for (size_t n = 1; n <= 6; ++n) {
      if (n > 1) rebuilt += ",";
      rebuilt += Field(fields, n);
    }
    const double az = sight.summitAzimuth;
    const bool inWindow = (az >= 45 && az <= 135) || (az >= 225 && az <= 315);
    std::vector<AlignmentEvent> events;
    if (inWindow) events = SearchDiamondEvents(observer, sight, today).events;
    if (events.empty()) {
      rebuilt += ",,";
    } else {
      for (const AlignmentEvent& e : events) rebuilt += "," + FormatDateTime(e.instant());
    }
    out.push_back(std::move(rebuilt));
  }
  return out;
}

}  // namespace velkaro
