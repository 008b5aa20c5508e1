#include "events/alignment.h"

#include <array>
#include <cmath>

#include "core/day_of_week.h"

namespace velkaro {

double InterpolateCrossingAzimuth(double azPrev, double altPrev, double az, double alt,
                                  double targetAltitude) {
  if (az == azPrev || alt == altPrev) return az;
  const double slope = (alt - altPrev) / (az - azPrev);
  const double intercept = alt - slope * az;
  return (targetAltitude - intercept) / slope;
}

EventSelection SelectAlignmentEvents(const std::vector<CrossingDay>& days,
                                     const EventSelectionRules& rules, EventBody body) {
  EventSelection out;
  // Index 0 is the oldest of the three days, 2 the newest.
  std::array<double, 3> absOffset = {5.0, 5.0, 5.0};
  std::array<DateTime, 3> date = {0, 0, 0};
  std::array<double, 3> time = {0, 0, 0};
  std::array<double, 3> offset = {0, 0, 0};
  for (const CrossingDay& day : days) {
    if (!day.counts) continue;
    for (int k = 0; k < 2; ++k) {
      absOffset[k] = absOffset[k + 1];
      date[k] = date[k + 1];
      time[k] = time[k + 1];
      offset[k] = offset[k + 1];
    }
    absOffset[2] = std::fabs(day.offset);
    date[2] = day.date;
    time[2] = day.timeOfDay;
    offset[2] = day.offset;

    if (absOffset[2] < out.closest.offset) {
      out.closest.offset = absOffset[2];
      out.closest.date = day.date;
      out.closest.timeOfDay = day.timeOfDay;
      out.closest.instant = day.date + day.timeOfDay;
    }

    const bool localMinimum = absOffset[1] < absOffset[0] && absOffset[1] < absOffset[2] &&
                              absOffset[1] < rules.tolerance;
    const bool dateOk = !rules.useDateLimit || date[1] >= rules.dateLimit;
    const bool stepsOk = rules.maxNewestSteps <= 0 || day.steps < rules.maxNewestSteps;
    if (localMinimum && dateOk && stepsOk && out.events.size() < rules.maxEvents) {
      AlignmentEvent e;
      e.date = date[1];
      e.timeOfDay = time[1];
      e.body = body;
      e.azimuthOffset = static_cast<float>(offset[1]);
      out.events.push_back(e);
    }
  }
  return out;
}

std::string DiamondListLine(DateTime date) {
  return FormatDate(date) + "   《" + DayOfWeekMark(date) + "》";
}

bool ParseDiamondListLine(const std::string& line, DateTime& date) {
  DateTime t = 0;
  if (!ParseDateTime(line.substr(0, line.find(' ')), t)) return false;
  date = WholeDay(t);
  return true;
}

}  // namespace velkaro
