#include <stdexcept>

#include "cli/command.h"
#include "tools/pictures/draw_pictures.h"

namespace velkaro::cli {
namespace {

// Draws the cloud picture and the moon list (either or both) as the program embeds them.
int RunDrawPictures(const Args& a) {
  const std::string kumo = a.text("kumo", "");
  const std::string moonList = a.text("moonlist", "");
  if (kumo.empty() && moonList.empty()) throw UsageError("give --kumo FILE or --moonlist FILE");
  std::string error;
  if (!pictures::WritePictures(kumo, moonList, &error)) throw std::runtime_error(error);
  Json written = Json::object();
  if (!kumo.empty()) written["kumo"] = kumo;
  if (!moonList.empty()) written["moonlist"] = moonList;
  PrintJson(written);
  return 0;
}

const RegisterCommand kDrawPictures("draw-pictures", "[--kumo FILE] [--moonlist FILE]",
                                    RunDrawPictures);

}  // namespace
}  // namespace velkaro::cli
