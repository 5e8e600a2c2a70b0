// "  Exportation de la note de calcul (fichier RTF)": where the file goes and
// the printer whose page the report is laid out on.
#pragma once

#include <QDialog>

class QLabel;

namespace qz {

class ExportDialog : public QDialog {
  Q_OBJECT
 public:
  ExportDialog(const QString& exportPath, const QString& printerName, QWidget* parent = nullptr);
  QLabel* pathLabel() const { return m_path; }

 private:
  QLabel* m_path;
};

}  // namespace qz
