// "Enregistrer un nouveau fichier": what goes into a document saved under a new name.
#pragma once

#include <optional>
#include <string>

class QWidget;

namespace qz {

class DocumentStore;

class SaveNewFileDialog {
 public:
  /// Stores the calculator's section and writes the document to its current
  /// path; when other calculators hold data, the user chooses whether they go
  /// along. False when the user cancelled or the file could not be written
  /// (message 30804): nothing written, the text as before the choice.
  static bool run(QWidget* parent, DocumentStore& document, int calculator, const std::optional<std::string>& body);
};

}  // namespace qz
