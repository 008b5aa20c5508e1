#pragma once

#include <QImage>
#include <functional>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/viewpoint.h"
#include "render/frame.h"
#include "render/labels.h"
#include "render/raster.h"
#include "terrain/mesh_tile.h"

namespace velkaro {

// 1 photo-like, 2 watercolour, 4 ink wash (3 is never used).
enum class DrawingStyle : uint8_t { kPhoto = 1, kWatercolour = 2, kInk = 4 };

inline const Rgb kTerrainSkyColour{192, 225, 255};

// What the detailed drawing reads of the last simple redraw and of the program state.
struct TerrainContext {
  Viewpoint viewpoint;
  SummitSight sight;
  PanoramaFrame frame;
  EventOverlayMode mode = EventOverlayMode::kNone;
  float brightness = 1.0f;
  DrawingStyle style = DrawingStyle::kPhoto;
  float hmax = 100;  // greatest surviving label height of the last simple foreground
  int threads = 2;   // the same picture for any number
};

// Sample colour of one terrain sample: distance d (km), height h (-1 for sea), surface class k,
// slope sigma (already clamped to [-50, 50]).
Rgb TerrainSampleColour(const TerrainContext& ctx, double d, int h, int k, int sigma);

// Draws one tile into the canvas and sets the red marker pixels of the labels whose peaks it
// holds. The tile's bytes come from `tile` (a missing file is the filler grid).
void RenderTile(const Canvas& canvas, const TerrainContext& ctx, const std::string& code,
                const MeshTile& tile, const LabelList& labels);

// The triangle of the detailed drawing: the Gouraud fill for front faces (moved one pixel down in
// watercolour); back faces draw nothing, or in watercolour their open outline in black.
void FillTerrainTriangle(const Canvas& canvas, DrawingStyle style, const ShadedVertex& v1,
                         const ShadedVertex& v2, const ShadedVertex& v3);

// The drawing order of a tile's cells for the summit's azimuth, with the inner loop split at the
// viewpoint's row or column when it lies in the tile. Calls cell(r, s) for r, s = 1..201.
void ForEachTerrainCell(double summitAzimuth, int vr, int vc,
                        const std::function<void(int, int)>& cell);

struct TerrainResult {
  LabelList labels;  // the labels whose peaks stayed visible, farthest first
  int tilesDrawn = 0;
  std::vector<std::string> tiles;
  LensPreview lens;
};

// The progress bar of the drawing panel (Image11, 164 x 16): white, with a blue bar from the left
// as wide as the share of tiles begun.
QImage DrawProgressBar(int i, int n);

// Called before each tile with (i, n), i = 1..n, for the progress bar.
using TileProgress = std::function<void(int, int)>;

// The whole foreground terrain over the simple panorama (modified in place): label list, tiles
// farthest first, the label visibility pass, the azimuth scale, the lens preview.
TerrainResult RenderTerrainPanorama(QImage& panorama, const TerrainContext& ctx,
                                    const std::vector<MountainLabel>& mountains,
                                    const std::string& meshFolder, const TileProgress& progress,
                                    std::optional<int> lensFocal);

// The user-level entry with its flags: nothing while a drawing runs or while the program sets its
// own controls; otherwise the drawing, then what the window does when it ends.
struct DetailedViewOutcome {
  bool drawn = false;
  TerrainResult result;
  bool enableDetailedButtons = false;
  int presentations = 0;  // PresentPanorama once for each of the sun and the moon that is shown
  bool beep = false;
  LabelDisplayState labelState = LabelDisplayState::kOff;
};
DetailedViewOutcome DrawDetailedView(bool& busy, bool drawingSuppressed, QImage& panorama,
                                     const TerrainContext& ctx,
                                     const std::vector<MountainLabel>& mountains,
                                     const std::string& meshFolder, const TileProgress& progress,
                                     bool sunShown, bool moonShown, std::optional<int> lensFocal);

}  // namespace velkaro
