// velkaro-cli grade-municipalities: the municipality source list graded on the embedded view map;
// the graded lines are printed (the operation itself writes no file).
#include <cstdio>

#include "cli/command.h"
#include "cli/data_tool_folders.h"
#include "maps/view_map.h"
#include "resources/embedded.h"
#include "tools/catalogue_data/catalogue_build.h"

namespace velkaro::cli {
namespace {

int RunGradeMunicipalities(const Args& a) {
  ViewMap map(EmbeddedResource("ZorvViewMap"));
  std::vector<std::string> lines;
  const tools::ToolReport r = tools::GradeMunicipalities(
      a.text("source", Data2Folder(a) + tools::kMunicipalitySourceName),
      [&](double lat, double lon) { return VisibilityValueAt(map, lat, lon); }, &lines);
  if (r.ok) {
    for (const std::string& line : lines) std::printf("%s\n", line.c_str());
  }
  return ReportTool(r, /*quiet=*/true);
}

const RegisterCommand kGradeMunicipalities("grade-municipalities", "[--data2 DIR] [--source FILE]",
                                           RunGradeMunicipalities);

}  // namespace
}  // namespace velkaro::cli
