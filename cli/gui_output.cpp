#include "cli/gui_output.h"

#include <QGuiApplication>
#include <cstdlib>

namespace velkaro::cli {

void EnsureGuiApplication() {
  if (QGuiApplication::instance()) return;
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "velkaro-cli";
  static char* argv[] = {name, nullptr};
  static QGuiApplication app(argc, argv);
}

void SavePng(const QImage& image, const std::string& out) {
  if (image.isNull() || !image.save(QString::fromStdString(out), "PNG"))
    throw UsageError("cannot write '" + out + "'");
}

Pick PickFromArgs(const Args& a) {
  Pick pick;
  pick.latitude = static_cast<float>(a.number("lat"));
  pick.longitude = static_cast<float>(a.number("lon"));
  pick.elevation = static_cast<float>(a.number("elev"));
  pick.name = a.text("name", "New Point");
  pick.reading = a.text("reading", "");
  pick.remark = a.text("remark", "");
  return pick;
}

}  // namespace velkaro::cli
