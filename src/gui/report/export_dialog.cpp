#include "report/export_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "report/dialog_buttons.h"

namespace qz {

ExportDialog::ExportDialog(const QString& exportPath, const QString& printerName, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("exportDialog"));
  setWindowTitle(QStringLiteral("  Exportation de la note de calcul (fichier RTF)"));
  m_path = new QLabel(QStringLiteral("  ") + exportPath, this);
  m_path->setObjectName(QStringLiteral("exportPath"));
  m_path->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* printer = new QLabel(QStringLiteral("  ") + printerName, this);
  printer->setObjectName(QStringLiteral("targetPrinter"));

  QDialogButtonBox* buttons = continueCancelButtons(this);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 14, 16, 10);
  layout->setSpacing(6);
  layout->addWidget(new QLabel(QStringLiteral("La note de calcul va être enregistrée dans le fichier :"), this));
  layout->addWidget(m_path);
  layout->addSpacing(8);
  layout->addWidget(new QLabel(QStringLiteral("Imprimante cible :"), this));
  layout->addWidget(printer);
  layout->addSpacing(10);
  layout->addWidget(buttons);
  setMinimumWidth(420);
}

}  // namespace qz
