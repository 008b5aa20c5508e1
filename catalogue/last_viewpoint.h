#pragma once

#include <string>

#include "core/app_state.h"
#include "core/viewpoint.h"

namespace velkaro {

struct RestoredViewpoint {
  Pick pick = DefaultViewpointPick();
  ViewMode mode = ViewMode::kView;
  bool fromFile = false;  // false: the default viewpoint (file missing or malformed)
  std::string warning;    // set when a malformed file was replaced by the default
};

// Reads prevdata.txt: one line of name, latitude, longitude, elevation, reading, remark and the
// view mode (0, 1, 2). A missing file gives the default viewpoint in view mode; so does a
// malformed one (fewer fields, numbers that do not read, an unknown mode), with a warning for the
// caller to print.
RestoredViewpoint RestoreLastViewpoint(const std::string& path);

// The line SaveLastViewpoint writes: the pick's 32-bit numbers in the general decimal form.
std::string LastViewpointLine(const Pick& pick, ViewMode mode);
bool SaveLastViewpoint(const std::string& path, const Pick& pick, ViewMode mode,
                       std::string* error = nullptr);

// Texts typed by the user become one field of a comma-separated line: a "," would split the
// field and a line break would split the row, so they become "，" and a blank.
std::string FieldSafe(const std::string& text);

}  // namespace velkaro
