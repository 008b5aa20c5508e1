// velkaro-cli panorama: draws the panorama of a viewpoint to a PNG file, headless, optionally with
// the sun's or the moon's path as the diamond and pearl displays draw it.
#include <chrono>
#include <optional>

#include "cli/command.h"
#include "cli/gui_output.h"
#include "core/folders.h"
#include "core/summit_grid.h"
#include "core/text.h"
#include "events/diamond.h"
#include "events/pearl.h"
#include "render/event_paths.h"
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

// What the diamond or pearl display decides before drawing: which path, for which day, at which
// draw size, and the message the window would show.
struct OverlayPlan {
  EventOverlayMode mode = EventOverlayMode::kNone;
  DateTime pathDate = 0;
  DateTime pathInstant = 0;
  std::optional<int> drawSize;
  std::string message;
  std::vector<std::string> listLines;
};

OverlayPlan PlanOverlay(const std::string& kind, const Args& a, const Observer& observer) {
  const DateTime today = a.date("today", TodayJst(SystemClockJst));
  const SummitSight sight = ComputeSummitSight(observer);
  OverlayPlan plan;
  double offset = 0;
  if (kind == "diamond") {
    const DiamondSearchResult r = SearchDiamondEvents(observer, sight, today);
    const DiamondDisplay d = DecideDiamondDisplay(r);
    plan.message = d.message;
    plan.mode = d.drawPath ? EventOverlayMode::kSunPath : EventOverlayMode::kNone;
    plan.pathDate = a.has("date") ? a.date("date") : d.pathDate;
    offset = r.events.empty() ? r.closest.offset : 0;
    plan.listLines = r.listLines;
  } else if (kind == "pearl") {
    const PearlSearchResult r = SearchPearlEvents(observer, sight, today);
    const PearlDisplay d = DecidePearlDisplay(r);
    plan.message = d.message;
    bool drawPath = d.drawPath;
    plan.pathInstant = d.pathInstant;
    if (a.has("date")) {
      const PearlDateDisplay c = DecidePearlDateDisplay(a.date("date"), observer, sight);
      plan.message = c.message;
      drawPath = c.drawPath;
      plan.pathInstant = c.pathInstant;
    }
    plan.mode = drawPath ? EventOverlayMode::kMoonPath : EventOverlayMode::kNone;
    plan.pathDate = WholeDay(plan.pathInstant);
    offset = r.events.empty() ? r.closest.offset : 0;
    plan.listLines = r.listLines;
  } else {
    throw UsageError("--overlay: diamond or pearl");
  }
  if (offset > 0) plan.drawSize = ChooseDrawSize(static_cast<float>(offset), sight.toleranceDeg);
  return plan;
}

int RunPanorama(const Args& a) {
  const auto start = std::chrono::steady_clock::now();
  EnsureGuiApplication();
  const Pick pick = PickFromArgs(a);
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

  std::optional<OverlayPlan> overlayPlan;
  if (a.has("overlay")) {
    overlayPlan = PlanOverlay(a.text("overlay"), a, in.viewpoint.observer());
    in.mode = overlayPlan->mode;
    in.pearlInstant = overlayPlan->pathInstant;
    // The display picks the draw size from the offset unless the user asked for one.
    if (!a.has("size")) in.drawSize = overlayPlan->drawSize.value_or(kDefaultDrawSize);
  }

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

  Json overlayJson;
  QImage overlay;
  const Observer observer = in.viewpoint.observer();
  if (in.mode == EventOverlayMode::kSunPath) {
    const SunPathResult p = DrawSunPath(overlay, r.frame, observer, r.sight, overlayPlan->pathDate);
    overlayJson = {{"visible", p.path.visible}, {"labels", {p.label59, p.label60, p.label61}}};
  } else if (in.mode == EventOverlayMode::kMoonPath) {
    const MoonPathResult p = DrawMoonPath(overlay, r.frame, observer, r.sight,
                                          overlayPlan->pathDate, overlayPlan->pathInstant);
    overlayJson = {{"visible", p.path.visible},
                   {"moonAge", p.moonAge},
                   {"labels", {p.label62, p.label63, p.label64, p.label65}}};
  }
  QImage canvas;
  PresentPanorama(canvas, r.panorama, overlay, in.mode, in.mode == EventOverlayMode::kSunPath,
                  in.mode == EventOverlayMode::kMoonPath);
  DrawLabels(canvas, shown, labelState, {});
  SavePng(canvas, out);

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
  Json j = {{"frame", FrameJson(r.frame)},
            {"summitAzimuth", r.sight.summitAzimuth},
            {"summitDistanceKm", r.sight.summitDistanceKm},
            {"detailedArea", r.detailedArea},
            {"labels", labels},
            {"tilesDrawn", tilesDrawn}};
  if (overlayPlan) {
    overlayJson["date"] = FormatDate(overlayPlan->pathDate);
    overlayJson["message"] = overlayPlan->message;
    overlayJson["listLines"] = overlayPlan->listLines;
    j["overlay"] = overlayJson;
  }
  j["milliseconds"] = ms;
  PrintJson(j);
  return 0;
}

const RegisterCommand kPanorama(
    "panorama",
    "--lat φ --lon λ --elev m [--name N --reading R --remark T] "
    "[--size 0.06|0.2|0.3|0.5|0.7|1.0|1.4|2.0] [--style simple|photo|watercolour|ink] "
    "[--foreground on|off] [--labels off|famous|all] [--width W --height H] [--seed S] "
    "[--overlay diamond|pearl [--date yyyy/mm/dd] [--today yyyy/mm/dd]] -o FILE.png",
    RunPanorama);

}  // namespace
}  // namespace velkaro::cli
