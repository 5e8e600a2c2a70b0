// " Éléments à imprimer..." / " Éléments à exporter...": what the statistics
// report holds besides its results.
#pragma once

#include <QDialog>

#include "report/report_builder.h"

class QCheckBox;

namespace qz {

class ReportOptionsDialog : public QDialog {
  Q_OBJECT
 public:
  /// `mode` is the statistics mode: the line option is offered only when
  /// exporting in modes 1 and 2. Both boxes start unchecked.
  ReportOptionsDialog(bool exporting, int mode, QWidget* parent = nullptr);

  ReportOptions options() const;
  QCheckBox* dataBox() const { return m_data; }
  QCheckBox* lineBox() const { return m_line; }

  /// Shows the dialog; true on "&Continuer" with the choices in `options`.
  static bool ask(bool exporting, int mode, QWidget* parent, ReportOptions& options);

 private:
  QCheckBox* m_data;
  QCheckBox* m_line;
};

}  // namespace qz
