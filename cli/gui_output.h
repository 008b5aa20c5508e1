#pragma once

#include <QImage>
#include <string>

#include "core/viewpoint.h"
#include "cli/args.h"

namespace velkaro::cli {

// Qt needs an application object for fonts; without a display the offscreen platform serves.
void EnsureGuiApplication();

// Writes a picture as PNG; a file that cannot be written is the caller's bad argument.
void SavePng(const QImage& image, const std::string& out);

// The viewpoint options shared by the drawing commands: --lat --lon --elev [--name --reading --remark].
Pick PickFromArgs(const Args& a);

}  // namespace velkaro::cli
