#pragma once

namespace velkaro {

// The two places that draw the moon with its phase: along the moon path overlay, and the single
// disc put on the path by a mouse press. They share the construction and differ in a few
// thresholds and pen widths.
enum class MoonPhaseStyle { kPath, kPress };

// An arc: centre, radius, start angle and sweep in degrees, counterclockwise from the screen's
// x axis with y upwards (positive sweep = counterclockwise).
struct PhaseArc {
  double cx = 0, cy = 0, radius = 0, startDeg = 0, sweepDeg = 0;
};

struct MoonPhaseShape {
  enum class Kind { kFull, kDotted, kPhase } kind = Kind::kFull;
  int circlePenWidth = 1;  // full and dotted circles
  // kPhase: the lit limb from P1 around the disc, and the terminator from P1 to P2 through M.
  int limbPenWidth = 2;
  int p1x = 0, p1y = 0, p2x = 0, p2y = 0, mx = 0, my = 0;
  int e = 0;  // signed terminator offset: positive for a crescent, negative for a gibbous moon
  PhaseArc limb;
  bool terminatorIsArc = false;  // else the straight segment P1-P2
  PhaseArc terminator;
};

// The phase of a disc of radius r at (x, y) for moon age `age`; `setting` is the evening sky
// (summit west of the viewpoint), which turns the lit side.
MoonPhaseShape ComputeMoonPhaseShape(int x, int y, int r, double age, bool setting,
                                     MoonPhaseStyle style);

}  // namespace velkaro
