// Fuzzes the figure catalogue reader and the drawing of what it reads:
// malformed headers, missing "@SUB" lines, short lines, huge counts and
// coordinates, long names, more variables than the table holds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "geometry/catalogue_reader.h"
#include "geometry/figure_drawing.h"
#include "platform/recording_canvas.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  qz::CatalogueText catalogue(text);
  const int figures = catalogue.figureCount() < 64 ? catalogue.figureCount() : 64;
  for (int figure = 0; figure < figures; ++figure) {
    qz::VariableTable table;
    table.createPredefined();
    qz::FigureLayout layout;
    catalogue.readFigure(figure, table, layout);
    if (table.size() > qz::kVariableCapacity) __builtin_trap();
    table.rebuildIndex();
    for (int sub = 0; sub < static_cast<int>(layout.subFigures.size()); ++sub) {
      qz::RecordingCanvas canvas;
      qz::DrawFigure(canvas, qz::Rect{0, 0, 266, 315}, table, layout, sub);
    }
  }
  // Every line on its own, as a variable line.
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    qz::GeoVariable v;
    qz::parseVariableLine(std::string_view(text).substr(start, end - start), 0, v);
    if (v.name.size() > 4 || v.caption.size() > 127) __builtin_trap();
    start = end + 1;
  }
  return 0;
}
