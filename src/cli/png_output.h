// Pictures from the command line: a drawing on a Canvas saved as a PNG file,
// through the same canvas the desktop program paints with.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/canvas.h"
#include "platform/messenger.h"

namespace qz::cli {

/// True when this qz-cli was built with Qt and can write pictures.
bool canWritePictures();

/// While it lives, a Qt GUI application exists for fonts and painting, on the
/// offscreen platform unless QT_QPA_PLATFORM names another: no display is
/// needed. Nothing when one exists already (or without Qt).
class HeadlessGui {
 public:
  HeadlessGui();
  ~HeadlessGui();
  HeadlessGui(const HeadlessGui&) = delete;
  HeadlessGui& operator=(const HeadlessGui&) = delete;

 private:
  struct Application;
  std::unique_ptr<Application> m_application;
};

/// Widths a picture may have, in pixels: a figure from 100, a diagram from 200.
inline constexpr int kMinPictureWidth = 100;
inline constexpr int kMinDiagramWidth = 200;
inline constexpr int kMaxPictureWidth = 8000;

/// Draws on a white `width` × `height` picture with `draw` and saves it as a
/// PNG file at `path` through the atomic writer, so that a full disk leaves no
/// partial file; false after message 30804 with its cause when it could not
/// be written (or, without Qt, at once).
bool writePng(const std::string& path, int width, int height, const std::function<void(Canvas&)>& draw,
              Messenger& messenger);

}  // namespace qz::cli
