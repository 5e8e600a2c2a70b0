// " Dossiers d'enregistrement par défaut": where documents and exports go.
#pragma once

#include <QDialog>
#include <array>
#include <string>

class QListWidget;
class QPushButton;

namespace qz {

class CalcApp;

class FoldersDialog : public QDialog {
  Q_OBJECT
 public:
  FoldersDialog(CalcApp& app, QWidget* parent);

  void accept() override;
  void reject() override;
  const std::array<std::string, 2>& folders() const { return m_folders; }
  /// "&Changer" with a folder already chosen (the browser is skipped).
  void changeSelected(const std::string& folder);
  void resetToDefaults();
  void selectLine(int line);

 private:
  void fillList();
  void browse();

  CalcApp& m_app;
  std::array<std::string, 2> m_folders;
  QListWidget* m_list;
  QPushButton* m_change;
};

}  // namespace qz
