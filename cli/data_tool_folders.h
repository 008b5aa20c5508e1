#pragma once

#include <cstdio>
#include <string>

#include "cli/args.h"
#include "core/folders.h"
#include "tools/catalogue_data/catalogue_tools.h"

namespace velkaro::cli {

// The folder the catalogue tools read and write: --data2, else DATA/DATA2 beside the program;
// ends with '/'.
inline std::string Data2Folder(const Args& a) {
  std::string folder = a.text("data2", MakeAppFolders(ExecutableFolder()).data2Folder);
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

// Prints a tool's outcome (as JSON unless quiet) and gives the exit status: 1 when it failed.
inline int ReportTool(const tools::ToolReport& r, bool quiet = false) {
  if (!r.ok) {
    std::fprintf(stderr, "%s\n", r.error.c_str());
    return 1;
  }
  if (!quiet) {
    PrintJson({{"sourceFound", r.sourceFound}, {"lines", r.lines}});
  }
  return 0;
}

}  // namespace velkaro::cli
