// The "Sélectionner" dialog: a range of row numbers and the columns it applies to.
#pragma once

#include <QDialog>

#include "statistics/stat_grid.h"

class QLineEdit;
class QRadioButton;

namespace qz {

class SelectRowsDialog : public QDialog {
  Q_OBJECT
 public:
  /// Opens with `start`; `count` rows in the table.
  SelectRowsDialog(StatMode mode, int count, const StatGrid::RowRangeChoice& start, Messenger& messenger,
                   QWidget* parent = nullptr);

  /// What OK chose (the rows as typed; the grid swaps them when needed).
  StatGrid::RowRangeChoice choice() const { return m_choice; }
  QLineEdit* fromField() const { return m_from; }
  QLineEdit* toField() const { return m_to; }
  QRadioButton* option(int i) const { return m_options[i]; }

  void accept() override;

 private:
  /// Leaving a field: a refused number brings the previous text back.
  bool checkField(QLineEdit* field, QString& previous);

  int m_count;
  Messenger& m_messenger;
  QLineEdit* m_from;
  QLineEdit* m_to;
  QString m_fromText, m_toText;
  QRadioButton* m_options[3] = {};
  StatGrid::RowRangeChoice m_choice;
};

}  // namespace qz
