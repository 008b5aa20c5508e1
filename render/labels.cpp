#include "render/labels.h"

#include <QPainter>
#include <utility>

#include "core/numeric.h"
#include "core/text.h"
#include "render/text_draw.h"

namespace velkaro {

std::vector<MountainLabel> ParseMountainLabels(const std::vector<std::string>& lines) {
  std::vector<MountainLabel> out;
  for (const std::string& line : lines) {
    const std::vector<std::string> f = SplitFields(line);
    if (f.size() < 6) continue;
    const auto height = ParseNumber(Field(f, 3));
    const auto lat = ParseNumber(Field(f, 4));
    const auto lon = ParseNumber(Field(f, 5));
    const auto cls = ParseInteger(Field(f, 6));
    if (!height || !lat || !lon || !cls) continue;
    out.push_back({Field(f, 1), static_cast<float>(*height), static_cast<float>(*lat),
                   static_cast<float>(*lon), static_cast<int>(*cls)});
  }
  return out;
}

LabelList BuildLabelList(const std::vector<MountainLabel>& mountains, const Observer& observer,
                         const SummitSight& sight, const PanoramaFrame& frameIn) {
  PanoramaFrame frame = frameIn;
  frame.ppd = frame.savedPpd;
  LabelList list;
  SightLine line;
  for (const MountainLabel& m : mountains) {
    line.targetLatitude = m.latitude;
    line.targetLongitude = m.longitude;
    line.targetHeight = m.height;
    ComputeSightLine(observer, line);
    const double rel = RelativeAzimuth(line.azimuth, sight.summitAzimuth);
    const double relE = line.elevationAngle - sight.e2600;
    const double d = line.distanceKm;
    if (!(std::abs(rel) <= frame.hfov / 2.0 * 1.2 && d <= sight.summitDistanceKm + 10 && d >= 0.2))
      continue;
    line.targetHeight = 0;
    ComputeSightLine(observer, line);
    const double relE0 = line.elevationAngle - sight.e2600;
    LabelEntry e;
    e.name = m.name;
    e.height = m.height;
    e.x = NearestInt(rel * frame.ppd + frame.Xc);
    e.y = NearestInt(frame.Yc - relE * frame.ppd);
    e.yFoot = NearestInt(frame.Yc - relE0 * frame.ppd);
    e.distanceKm = static_cast<float>(d);
    e.latitude = m.latitude;
    e.longitude = m.longitude;
    e.labelClass = m.labelClass;
    list.push_back(std::move(e));
  }
  // The exchange order of the list (farthest first); kept as is because equal distances keep the
  // positions this order gives them.
  for (size_t p = 0; p + 1 < list.size(); ++p)
    for (size_t q = p + 1; q < list.size(); ++q)
      if (list[p].distanceKm < list[q].distanceKm) std::swap(list[p], list[q]);
  return list;
}

Rgb LabelClassColour(int labelClass) {
  switch (labelClass) {
    case 100:
      return {255, 0, 0};
    case 200:
      return {0, 0, 255};
    case 300:
      return {0, 128, 0};
    default:
      return {128, 128, 128};
  }
}

namespace {

QColor ToColor(Rgb c) {
  return QColor(c.r, c.g, c.b);
}

void DrawOneLabel(QPainter& p, int x, int y, const std::string& name, int labelClass,
                  bool asFamous) {
  p.setPen(QColor(255, 0, 0));
  p.drawLine(x, y, x, y + 20 - 1);  // the end point is not drawn
  const QColor bg = asFamous ? ToColor(LabelClassColour(labelClass)) : QColor(255, 255, 255);
  const QColor ink = asFamous ? QColor(255, 255, 255) : QColor(0, 0, 0);
  DrawVerticalText(p, x + 6, y + 20, ToQString(name), ink, &bg);
}

}  // namespace

void DrawPinnedLabels(QImage& canvas, const std::vector<PinnedLabel>& pinned) {
  if (pinned.empty() || canvas.isNull()) return;
  QPainter p(&canvas);
  p.setFont(DrawingFont(12));
  for (const PinnedLabel& l : pinned)
    DrawOneLabel(p, l.x, l.y, l.name, l.labelClass, l.labelClass > 10);
}

void DrawLabels(QImage& canvas, const LabelList& labels, LabelDisplayState state,
                const std::vector<PinnedLabel>& pinned) {
  if (state == LabelDisplayState::kOff || canvas.isNull()) return;
  {
    QPainter p(&canvas);
    p.setFont(DrawingFont(12));
    if (state == LabelDisplayState::kAll)
      for (const LabelEntry& l : labels) DrawOneLabel(p, l.x, l.y, l.name, l.labelClass, false);
    for (const LabelEntry& l : labels)
      if (l.labelClass > 10) DrawOneLabel(p, l.x, l.y, l.name, l.labelClass, true);
  }
  DrawPinnedLabels(canvas, pinned);
}

LabelButtonOutcome PressLabelButton(LabelDisplayState state, bool namesPinned) {
  LabelButtonOutcome o;
  o.state = static_cast<LabelDisplayState>((static_cast<int>(state) + 1) % 3);
  if (o.state == LabelDisplayState::kOff) {
    o.askToClearPinned = namesPinned;
  } else {
    o.drawLabels = true;
  }
  return o;
}

void ResolvePinnedQuestion(bool yes, std::vector<PinnedLabel>& pinned, QImage& canvas) {
  if (yes) {
    pinned.clear();
  } else {
    DrawPinnedLabels(canvas, pinned);
  }
}

}  // namespace velkaro
