#include "geometry/geo_section.h"

#include <algorithm>

#include "document/section_text.h"
#include "geometry/catalogue_loader.h"

namespace qz {

bool GeoDocumentState::hasData() const {
  return std::any_of(figures.begin(), figures.end(), [](const FigureData& f) { return f.rows > 0; });
}

std::optional<std::string> WriteGeoSection(const GeoDocumentState& state) {
  if (state.figure < 0 || state.figure >= kFigureCount || !state.hasData()) return std::nullopt;
  SectionWriter out;
  out.line().integer(state.dimension);
  out.line().integer(state.figure);
  for (int v = 0; v < kFigureCount; ++v) {
    const FigureData& f = state.figures[static_cast<size_t>(v)];
    const int rows = std::clamp(f.rows, 0, kKnownRowCapacity);
    out.line().integer(v);
    out.line().integer(f.subFigure).integer(rows).integer(f.orientation);
    for (int r = 0; r < rows; ++r) {
      const KnownRow& k = f.row[static_cast<size_t>(r)];
      out.line()
          .integer(k.variable)
          .real(k.value)
          .real(k.minimum)
          .real(k.maximum)
          .real(k.forbidden1)
          .real(k.forbidden2)
          .integer(k.numberKind)
          .integer(k.negative);
    }
  }
  return out.finish();
}

void ReadGeoSection(std::string_view body, GeoDocumentState& state) {
  state.reset();
  SectionReader in(body);
  if (in.atEnd()) return;
  state.dimension = readIntegerPrefix(in.nextLine()) != 0 ? kDimensionSolid : kDimensionPlane;
  state.figure = readIntegerPrefix(in.nextLine());
  if (state.figure < 0 || state.figure >= kFigureCount) state.figure = 0;
  state.dimension = figureDimension(state.figure);
  while (!in.atEnd()) {
    const int v = readIntegerPrefix(in.nextLine());
    if (v < 0 || v >= kFigureCount) break;
    FigureData& f = state.figures[static_cast<size_t>(v)];
    f = FigureData{};
    const SectionLine head = in.nextFields();
    f.subFigure = std::max(0, head.integer(0));
    const int declared = std::max(0, head.integer(1));
    f.rows = std::min(declared, kKnownRowCapacity);
    const int orientation = head.integer(2);
    f.orientation =
        orientation >= kOrientationNone && orientation <= kOrientationLeft ? orientation : kOrientationNone;
    for (int r = 0; r < f.rows; ++r) {
      const SectionLine line = in.nextFields();
      KnownRow& k = f.row[static_cast<size_t>(r)];
      k.variable = line.integer(0);
      k.value = line.real(1);
      k.minimum = line.real(2);
      k.maximum = line.real(3);
      k.forbidden1 = line.real(4);
      k.forbidden2 = line.real(5);
      k.numberKind = line.integer(6) == kNumberInteger ? kNumberInteger : kNumberReal;
      k.negative = line.flag(7) ? 1 : 0;
    }
    // Rows beyond the nine the record holds are passed over, so that the
    // next figure's number is read from its own line.
    for (int r = f.rows; r < declared && !in.atEnd(); ++r) in.nextLine();
  }
}

}  // namespace qz
