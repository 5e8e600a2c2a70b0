#include "report/report_options_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "report/dialog_buttons.h"

namespace qz {

ReportOptionsDialog::ReportOptionsDialog(bool exporting, int mode, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("reportOptionsDialog"));
  setWindowTitle(exporting ? QStringLiteral(" Éléments à exporter...") : QStringLiteral(" Éléments à imprimer..."));
  m_data = new QCheckBox(exporting ? QStringLiteral(" Exporter aussi les données.")
                                   : QStringLiteral(" Imprimer aussi les données."),
                         this);
  m_data->setObjectName(QStringLiteral("dataOption"));
  m_line = new QCheckBox(mode == 1 ? QStringLiteral(" Exporter aussi la droite de Henry.")
                                   : QStringLiteral(" Exporter aussi la courbe de régression."),
                         this);
  m_line->setObjectName(QStringLiteral("lineOption"));
  m_line->setVisible(exporting && mode != 0);

  QDialogButtonBox* buttons = continueCancelButtons(this);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 14, 16, 10);
  layout->setSpacing(10);
  layout->addWidget(m_data);
  layout->addWidget(m_line);
  layout->addSpacing(6);
  layout->addWidget(buttons);
  setFixedSize(sizeHint().expandedTo(QSize(340, 0)));
}

ReportOptions ReportOptionsDialog::options() const {
  ReportOptions options;
  options.data = m_data->isChecked();
  options.line = !m_line->isHidden() && m_line->isChecked();
  return options;
}

bool ReportOptionsDialog::ask(bool exporting, int mode, QWidget* parent, ReportOptions& options) {
  ReportOptionsDialog dialog(exporting, mode, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  options = dialog.options();
  return true;
}

}  // namespace qz
