// The geometric calculator's section of the document: the dimension and
// figure shown, then every figure's known data.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "geometry/figure_data.h"

namespace qz {

/// What the document keeps of the geometric calculator.
struct GeoDocumentState {
  int dimension = 0;  ///< GeoDimension of the figure shown
  int figure = 0;     ///< 0..52
  std::array<FigureData, kFigureCount> figures{};

  /// The state before a section is read: every record empty, plane figure 0.
  void reset() { *this = GeoDocumentState{}; }
  /// True when at least one figure holds a known-data row.
  bool hasData() const;
};

/// The section body ("%d" dimension, "%d" figure, then for each figure its
/// number, "%d|%d|%d" sub-figure|rows|orientation and its rows), or nothing
/// when no figure holds a known-data row.
std::optional<std::string> WriteGeoSection(const GeoDocumentState& state);

/// Resets `state`, then reads `body`. Row counts above 9 read as 9 (the
/// lines of the further rows are skipped; negative counts read as 0); reading
/// stops at a figure number outside 0..52. A figure number shown outside 0..52
/// reads as plane figure 0, and the dimension always follows the figure shown,
/// so the window never lists one dimension's figures while showing the other's.
void ReadGeoSection(std::string_view body, GeoDocumentState& state);

}  // namespace qz
