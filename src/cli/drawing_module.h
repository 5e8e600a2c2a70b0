// What qz-cli draws through Qt (pictures and calculation reports) lives in a
// module of its own, loaded only by the commands that draw: every other
// command starts without loading Qt's libraries. This header is the whole
// of what the program and the module share.
#pragma once

#include <functional>
#include <string>

#include "cli_context.h"
#include "platform/canvas.h"
#include "platform/messenger.h"

namespace qz::cli {

/// Raised whenever the table below changes, so that a module from another
/// build is refused instead of called with the wrong arguments.
inline constexpr int kDrawingModuleVersion = 1;

/// A calculation report asked for on the command line, the document already read.
struct ReportRequest {
  std::string documentPath;  ///< as given; the header names it by its full path
  std::string section;       ///< the calculator's section body
  std::string sectionName;   ///< the calculator's name in messages
  int calculator = -1;
  std::string pdf, rtf;
  bool text = false, data = false, line = false;
};

struct DrawingModule {
  int version = kDrawingModuleVersion;
  /// Draws on a white `width` × `height` picture with `draw` and saves it as
  /// a PNG file through the atomic writer; false after message 30804.
  bool (*writePng)(const std::string& path, int width, int height, const std::function<void(Canvas&)>& draw,
                   Messenger& messenger) = nullptr;
  /// Makes the report as a PDF file, an RTF export or text; the exit code.
  int (*makeReport)(const ReportRequest& request, CliContext& context) = nullptr;
};

/// Name of the function of the module that returns its table.
inline constexpr const char* kDrawingModuleEntry = "qz_cli_drawing_module";

}  // namespace qz::cli
