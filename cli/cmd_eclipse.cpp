#include <iostream>
#include <stdexcept>
#include <vector>

#include "astro/eclipse.h"
#include "cli/command.h"
#include "core/folders.h"
#include "core/text.h"

namespace velkaro::cli {
namespace {

int RunEclipse(const Args& a) {
  EclipseScanSettings settings;
  if (a.has("from")) settings.start = a.dateTime("from");
  if (a.has("to")) settings.end = a.dateTime("to");
  const std::string out = a.text("out", MakeAppFolders(ExecutableFolder()).eclipseList);

  // The list is created anew before the scan, so an unwritable place stops it at once.
  std::string error;
  if (!WriteFileAtomic(out, "", &error)) throw std::runtime_error(error);

  const bool showProgress = a.has("progress");
  const EclipseScanResult result =
      ScanForEclipses(settings, [showProgress, lastYear = 0](int year, double) mutable {
        if (showProgress && year != lastYear) std::cerr << year << "\n";
        lastYear = year;
        return true;
      });

  std::vector<std::string> lines;
  for (const EclipseHit& hit : result.hits) lines.push_back(hit.line);
  if (!WriteFileAtomic(out, JoinCrLf(lines), &error)) throw std::runtime_error(error);

  Json j{{"file", out}, {"count", lines.size()}, {"lines", lines}};
  if (lines.empty()) j["message"] = kNoEclipseText;
  PrintJson(j);
  return 0;
}

const RegisterCommand kEclipse(
    "eclipse", "[--out FILE] [--from \"yyyy/mm/dd hh:nn:ss\"] [--to \"...\"] [--progress]",
    RunEclipse);

}  // namespace
}  // namespace velkaro::cli
