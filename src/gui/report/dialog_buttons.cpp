#include "report/dialog_buttons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

namespace qz {

QDialogButtonBox* continueCancelButtons(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(dialog);
  QPushButton* proceed = buttons->addButton(QStringLiteral("&Continuer"), QDialogButtonBox::AcceptRole);
  proceed->setObjectName(QStringLiteral("continueButton"));
  proceed->setDefault(true);
  buttons->addButton(QStringLiteral("Annuler"), QDialogButtonBox::RejectRole);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

}  // namespace qz
