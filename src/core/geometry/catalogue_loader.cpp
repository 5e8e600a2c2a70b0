#include "geometry/catalogue_loader.h"

#include "files/file_access.h"
#include "platform/places.h"

namespace qz {

const char* catalogueFileName(int dimension) {
  return dimension == kDimensionSolid ? "GEO_3D.SRC" : "GEO_2D.SRC";
}

void CatalogueLoader::setCatalogueText(int dimension, std::string text) {
  m_catalogue.setText(std::move(text));
  m_dimension = dimension;
  m_figure = -1;
}

bool CatalogueLoader::readCatalogue(int dimension) {
  std::optional<std::string> text =
      ReadWholeFile(joinPath(m_dataFolder, catalogueFileName(dimension)), *m_messenger, kCannotOpenFile);
  if (!text) return false;
  setCatalogueText(dimension, std::move(*text));
  return true;
}

bool CatalogueLoader::LoadFigure(int dimension, int figure, int subFigure, VariableTable& table,
                                 FigureData& data) {
  if (dimension != m_dimension && !readCatalogue(dimension)) return false;
  table.createPredefined();
  m_figure = -1;
  m_layout = FigureLayout{};
  const int position = figure - (dimension == kDimensionSolid ? kPlaneFigureCount : 0);
  const CatalogueError error = m_catalogue.readFigure(position, table, m_layout);
  if (error != CatalogueError::None) {
    // A defective block must not leave half a figure whose equations would
    // name missing variables.
    table.createPredefined();
    m_layout = FigureLayout{};
    ShowFileError(*m_messenger, kCannotOpenFile, joinPath(m_dataFolder, catalogueFileName(dimension)),
                  FileErrorCause::InvalidFile);
    return false;
  }
  table.rebuildIndex();
  const int subCount = static_cast<int>(m_layout.subFigures.size());
  data.subFigure = subFigure < 0 ? 0 : (subFigure >= subCount ? subCount - 1 : subFigure);
  data.fillFromTable(table);
  m_figure = figure;
  return true;
}

}  // namespace qz
