// velkaro-cli list: the rows the viewpoint list dialog shows.
#include "catalogue/list_model.h"
#include "catalogue/picks.h"
#include "catalogue/registered.h"
#include "cli/command.h"
#include "core/folders.h"
#include "core/text.h"

namespace velkaro::cli {
namespace {

int RunList(const Args& a) {
  const AppFolders folders = MakeAppFolders(a.text("program", ExecutableFolder()));
  const int kindNumber = static_cast<int>(a.number("kind"));
  if (kindNumber < 1 || kindNumber > 3) throw UsageError("--kind must be 1, 2 or 3");
  const auto kind = static_cast<ListKind>(kindNumber);
  const int mode = static_cast<int>(a.number("mode", 0));
  const int order = static_cast<int>(a.number("order", 1));
  if (order != 1 && order != 2) throw UsageError("--order must be 1 or 2");
  const bool diamond = mode == 1;
  const ListLayout layout = ListDialogLayout(kind, diamond, static_cast<ListOrder>(order));

  ListRows rows;
  if (kind == ListKind::kRegistered) {
    const std::string path = a.text("folder", folders.userFolder) + "/location.csv";
    CatalogueLoad load = LoadRegisteredViewpoints(path);
    if (!load.ok) throw std::runtime_error(load.error);
    SortByReading(load.list);
    SortByEventDate(load.list);
    rows = BuildRegisteredRows(load.list, diamond, layout.order);
  } else {
    const std::vector<std::string> lines = ReadListFile(ListFilePath(folders, kind));
    rows = BuildCatalogueRows(kind, lines, a.text("search", ""));
  }
  Json out = {{"title", layout.title}};
  if (layout.showHeader) out["header"] = layout.header;
  if (layout.showLegend) out["legend"] = kVisibilityLegend;
  out["rows"] = rows.rows;
  out["rowMap"] = rows.source;
  PrintJson(out);
  return 0;
}

const RegisterCommand kList("list",
                            "--kind 1|2|3 [--mode 0|1|2] [--order 1|2] [--search WORD] "
                            "[--program DIR] [--folder USERDIR]",
                            RunList);

}  // namespace
}  // namespace velkaro::cli
