// velkaro-cli grade-mountains: d1.03 → d10.03, each mountain graded on the embedded view map.
#include <cstdio>

#include "cli/command.h"
#include "cli/data_tool_folders.h"
#include "maps/view_map.h"
#include "resources/embedded.h"
#include "tools/catalogue_data/catalogue_build.h"

namespace velkaro::cli {
namespace {

int RunGradeMountains(const Args& a) {
  const std::string folder = Data2Folder(a);
  ViewMap map(EmbeddedResource("ZorvViewMap"));
  const tools::ToolReport r = tools::GradeMountains(
      a.text("source", folder + tools::kMountainSourceName),
      a.text("out", folder + tools::kLabelListName),
      [&](double lat, double lon) { return VisibilityValueAt(map, lat, lon); });
  return ReportTool(r);
}

const RegisterCommand kGradeMountains("grade-mountains",
                                      "[--data2 DIR] [--source FILE] [--out FILE]",
                                      RunGradeMountains);

}  // namespace
}  // namespace velkaro::cli
