// velkaro-cli add-prefectures: d20.csv and the per-prefecture tables → d2.csv.
#include "cli/command.h"
#include "cli/data_tool_folders.h"
#include "tools/catalogue_data/catalogue_build.h"

namespace velkaro::cli {
namespace {

int RunAddPrefectures(const Args& a) {
  const std::string folder = Data2Folder(a);
  return ReportTool(tools::AddPrefectures(
      a.text("source", folder + tools::kVisibleMountainsName), a.text("tables"),
      a.text("out", folder + tools::kVisibleMountainsWithPrefectureName)));
}

const RegisterCommand kAddPrefectures("add-prefectures",
                                      "--tables DIR [--data2 DIR] [--source FILE] [--out FILE]",
                                      RunAddPrefectures);

}  // namespace
}  // namespace velkaro::cli
