// Pictures from the command line: a drawing on a Canvas saved as a PNG file,
// through the same canvas the desktop program paints with. The painting is
// done by the drawing module, loaded the first time a picture is asked for.
#pragma once

#include <functional>
#include <string>

#include "drawing_module.h"
#include "platform/canvas.h"
#include "platform/messenger.h"

namespace qz::cli {

/// The drawing module, loaded on first use from its place beside the
/// executable (build tree and installed tree alike); nullptr when this
/// qz-cli was built without Qt or the module cannot be loaded.
const DrawingModule* drawingModule();
/// Why drawingModule() gave nothing, in French (UTF-8).
std::string drawingUnavailableReason();

/// True when pictures can be written (the drawing module loads).
inline bool canWritePictures() { return drawingModule() != nullptr; }

/// Widths a picture may have, in pixels: a figure from 100, a diagram from 200.
inline constexpr int kMinPictureWidth = 100;
inline constexpr int kMinDiagramWidth = 200;
inline constexpr int kMaxPictureWidth = 8000;

/// Draws on a white `width` × `height` picture with `draw` and saves it as a
/// PNG file at `path` through the atomic writer, so that a full disk leaves no
/// partial file; false after message 30804 with its cause when it could not
/// be written (or, without the drawing module, at once).
bool writePng(const std::string& path, int width, int height, const std::function<void(Canvas&)>& draw,
              Messenger& messenger);

}  // namespace qz::cli
