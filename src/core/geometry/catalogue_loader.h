// Loading a figure of the geometric calculator from its catalogue file into
// the variable table, with the figure list and the sub-figure headers.
#pragma once

#include <string>
#include <vector>

#include "geometry/catalogue_reader.h"
#include "geometry/figure_data.h"
#include "geometry/geo_variable.h"
#include "platform/messenger.h"

namespace qz {

/// Plane figures are 0 to 23 (file "GEO_2D.SRC"), solids 24 to 52 ("GEO_3D.SRC").
enum GeoDimension : int {
  kDimensionPlane = 0,
  kDimensionSolid = 1,
};
inline constexpr int kPlaneFigureCount = 24;

/// File name of the catalogue of a dimension.
const char* catalogueFileName(int dimension);
/// Dimension of a figure number (0..52).
inline int figureDimension(int figure) {
  return figure >= kPlaneFigureCount ? kDimensionSolid : kDimensionPlane;
}

/// Keeps the catalogue text of the dimension last read (the other one is read
/// again when it is chosen) and loads figures from it.
class CatalogueLoader {
 public:
  /// `dataFolder` holds the catalogue files; `messenger` shows the file-open
  /// message when a file cannot be read or a figure's block is malformed.
  CatalogueLoader(std::string dataFolder, Messenger& messenger)
      : m_dataFolder(std::move(dataFolder)), m_messenger(&messenger) {}

  /// Loads figure `figure` (0..52, of dimension `dimension`): reads the
  /// catalogue file when it is not the one in memory, refills `table` with the
  /// eleven predefined entries and the figure's variables of every
  /// sub-figure, rebuilds the name index and, when `data` has no known-data
  /// rows, makes a row of every variable of kind "O". `subFigure` is kept in
  /// `data` (limited to the figure's sub-figures). Returns false, after a
  /// message, when the file cannot be read or the figure cannot be loaded.
  /// The caller then computes the figure.
  bool LoadFigure(int dimension, int figure, int subFigure, VariableTable& table, FigureData& data);

  /// Reads a catalogue file of a dimension into memory (without loading a
  /// figure); false after the file-open message.
  bool readCatalogue(int dimension);

  /// Names of the figures of the dimension in memory, in file order.
  const std::vector<std::string>& figureNames() const { return m_catalogue.figureNames(); }
  /// Dimension of the text in memory, -1 before the first read.
  int loadedDimension() const { return m_dimension; }
  /// Figure last loaded, -1 when none.
  int figure() const { return m_figure; }
  /// Sub-figure headers of the figure last loaded.
  const FigureLayout& layout() const { return m_layout; }
  /// Uses `text` as the catalogue of `dimension` (tests, or a file read elsewhere).
  void setCatalogueText(int dimension, std::string text);

 private:
  std::string m_dataFolder;
  Messenger* m_messenger;
  CatalogueText m_catalogue;
  int m_dimension = -1;
  int m_figure = -1;
  FigureLayout m_layout;
};

}  // namespace qz
