// velkaro-cli panorama: draws the panorama of a viewpoint to a PNG file, headless.
#include <QGuiApplication>
#include <chrono>
#include <cstdlib>

#include "cli/command.h"
#include "core/folders.h"
#include "core/summit_grid.h"
#include "core/text.h"
#include "render/panorama.h"
#include "render/pictures.h"
#include "render/styles.h"
#include "resources/embedded.h"

namespace velkaro::cli {
namespace {

int DrawSizeIndex(const std::string& text) {
  const char* names[] = {"0.06", "0.2", "0.3", "0.5", "0.7", "1.0", "1.4", "2.0"};
  for (int k = 0; k < 8; ++k)
    if (text == names[k]) return k;
  const auto v = ParseNumber(text);
  for (int k = 0; v && k < 8; ++k)
    if (static_cast<float>(*v) == kDrawSizeZoom[k]) return k;
  throw UsageError("--size: '" + text + "' is not one of 0.06 0.2 0.3 0.5 0.7 1.0 1.4 2.0");
}

StyleChoice StyleOf(const std::string& text) {
  if (text == "simple") return StyleChoice::kSimple;
  if (text == "photo") return StyleChoice::kPhoto;
  if (text == "watercolour") return StyleChoice::kWatercolour;
  if (text == "ink") return StyleChoice::kInk;
  throw UsageError("--style: simple, photo, watercolour or ink");
}

LabelDisplayState LabelsOf(const std::string& text) {
  if (text == "off") return LabelDisplayState::kOff;
  if (text == "famous") return LabelDisplayState::kFamous;
  if (text == "all") return LabelDisplayState::kAll;
  throw UsageError("--labels: off, famous or all");
}

// Qt needs an application object for fonts; without a display the offscreen platform serves.
void EnsureGuiApplication() {
  if (QGuiApplication::instance()) return;
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "velkaro-cli";
  static char* argv[] = {name, nullptr};
  static QGuiApplication app(argc, argv);
}

Json FrameJson(const PanoramaFrame& f) {
  return {{"W", f.W},
          {"H", f.H},
          {"zoom", f.zoom},
          {"Xc", f.Xc},
          {"Yc", f.Yc},
          {"hfov", f.hfov},
          {"edges", {{"left", f.leftAzimuth}, {"right", f.rightAzimuth}}},
          {"ppd", f.ppd},
          {"focalLength", f.focalLength},
          {"topY", f.topY}};
}

int RunPanorama(const Args& a) {
  const auto start = std::chrono::steady_clock::now();
  EnsureGuiApplication();
  Pick pick;
  pick.latitude = static_cast<float>(a.number("lat"));
  pick.longitude = static_cast<float>(a.number("lon"));
  pick.elevation = static_cast<float>(a.number("elev"));
  pick.name = a.text("name", "New Point");
  pick.reading = a.text("reading", "");
  pick.remark = a.text("remark", "");
  const std::string out = a.text("out");

  PanoramaInputs in;
  in.viewpoint = LoadCurrentViewpoint(pick, false, "").viewpoint;
  in.clientWidth = static_cast<int>(a.number("width", 1920));
  in.clientHeight = static_cast<int>(a.number("height", 1080));
  if (in.clientWidth <= kMainPanelWidth || in.clientHeight <= kPanoramaHeightMargin + 30)
    throw UsageError("--width/--height leave no room for the panorama");
  in.drawSize = DrawSizeIndex(a.text("size", "1.0"));
  const std::string foreground = a.text("foreground", "on");
  if (foreground != "on" && foreground != "off") throw UsageError("--foreground: on or off");
  in.foreground = foreground == "on";
  in.cloudSeed = static_cast<uint32_t>(a.number("seed", 1));
  const StyleChoice style = StyleOf(a.text("style", "simple"));
  const LabelDisplayState labelState = LabelsOf(a.text("labels", "off"));

  const SummitGrid grid = LoadSummitGrid(EmbeddedResource("zorvht"));
  in.grid = &grid;
  const Pictures pictures = LoadPictures(EmbeddedResource("kumo"), EmbeddedResource("moonlist"));
  in.kumo = &pictures.kumo;

  const AppFolders folders = MakeAppFolders(ExecutableFolder());
  std::vector<MountainLabel> mountains;
  if (auto lines = ReadCp932Lines(folders.labelList)) mountains = ParseMountainLabels(*lines);
  in.mountains = &mountains;

  PanoramaResult r = RedrawPanorama(in);
  const StylePlan plan = ApplyDrawingStyle(style, in.foreground);
  LabelList shown = r.labels;
  int tilesDrawn = 0;
  if (plan.detailed) {
    TerrainContext ctx;
    ctx.viewpoint = in.viewpoint;
    ctx.sight = r.sight;
    ctx.frame = r.frame;
    ctx.mode = in.mode;
    ctx.brightness = r.sky.brightness;
    ctx.style = *plan.detailed;
    ctx.hmax = r.hmax;
    bool busy = false;
    const DetailedViewOutcome d =
        DrawDetailedView(busy, false, r.panorama, ctx, mountains, folders.meshFolder, nullptr,
                         false, false, r.upDownPosition);
    shown = d.result.labels;
    tilesDrawn = d.result.tilesDrawn;
  }
  QImage canvas;
  CopyPanoramaToWindow(canvas, r.panorama);
  DrawLabels(canvas, shown, labelState, {});
  if (canvas.isNull() || !canvas.save(QString::fromStdString(out), "PNG"))
    throw UsageError("cannot write '" + out + "'");

  Json labels = Json::array();
  for (const LabelEntry& l : shown)
    labels.push_back({{"name", l.name},
                      {"height", l.height},
                      {"x", l.x},
                      {"y", l.y},
                      {"distanceKm", l.distanceKm},
                      {"class", l.labelClass}});
  const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  PrintJson({{"frame", FrameJson(r.frame)},
             {"summitAzimuth", r.sight.summitAzimuth},
             {"summitDistanceKm", r.sight.summitDistanceKm},
             {"detailedArea", r.detailedArea},
             {"labels", labels},
             {"tilesDrawn", tilesDrawn},
             {"milliseconds", ms}});
  return 0;
}

const RegisterCommand kPanorama(
    "panorama",
    "--lat φ --lon λ --elev m [--name N --reading R --remark T] "
    "[--size 0.06|0.2|0.3|0.5|0.7|1.0|1.4|2.0] [--style simple|photo|watercolour|ink] "
    "[--foreground on|off] [--labels off|famous|all] [--width W --height H] [--seed S] -o FILE.png",
    RunPanorama);

}  // namespace
}  // namespace velkaro::cli
