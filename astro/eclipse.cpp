#include "astro/eclipse.h"

#include <cmath>

#include "astro/body_position.h"
#include "core/text.h"

namespace velkaro {

namespace {

// How often, besides every new year, the progress callback hears from the scan (about ten days).
constexpr long kProgressInterval = 480;

}  // namespace

EclipseScanResult ScanForEclipses(const EclipseScanSettings& settings,
                                  const EclipseProgress& progress, const EclipseSink& sink) {
  EclipseScanResult result;
  const double span = settings.end - settings.start;
  double previousDay = 0;
  int previousYear = 0;
  long n = 0;
  DateTime t = settings.start;
  while (t < settings.end) {
    ++n;
    // Each instant from the start and the step count, so no rounding accumulates over 35 years.
    t = settings.start + n * settings.step;
    const AstroTime at = AstroTimeFromDateTime(t);
    if (progress && (at.year != previousYear || n % kProgressInterval == 0)) {
      if (!progress(at.year, span > 0 ? (t - settings.start) / span : 1.0)) {
        result.cancelled = true;
        break;
      }
    }
    previousYear = at.year;
    result.steps = n;

    const BodyPosition sun = ComputeSunPosition(at, settings.observer);
    // Only a sun above the horizon can be listed, so the moon is not needed at night.
    if (sun.apparentAltitude <= 0) continue;
    const BodyPosition moon = ComputeMoonPosition(at, settings.observer);
    const double dAlt = static_cast<double>(moon.apparentAltitude) - sun.apparentAltitude;
    const double dAz = static_cast<double>(moon.azimuth) - sun.azimuth;
    const double d = std::sqrt(dAlt * dAlt + dAz * dAz);
    if (d < settings.maxSeparation) {
      const double day = std::floor(t);
      if (day != previousDay) {
        EclipseHit hit{t, d, FormatDateTime(t) + "   / " + FormatGeneral(d)};
        if (sink) sink(hit);
        result.hits.push_back(std::move(hit));
      }
      previousDay = day;
    }
  }
  return result;
}

}  // namespace velkaro
