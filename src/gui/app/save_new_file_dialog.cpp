#include "app/save_new_file_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/help_window.h"
#include "document/document_store.h"
#include "files/file_access.h"

namespace qz {

bool SaveNewFileDialog::run(QWidget* parent, DocumentStore& document, int calculator,
                            const std::optional<std::string>& body) {
  const std::string path = document.currentPath();
  document.StoreSection(calculator, body);
  if (document.sectionsPresent().empty()) {
    WipeAndDelete(path, false);
    return document.WriteDocumentFile(path);
  }

  QDialog dialog(parent);
  dialog.setWindowTitle(QStringLiteral("Enregistrer un nouveau fichier"));
  auto* layout = new QVBoxLayout(&dialog);
  auto* group = new QGroupBox(QStringLiteral("Quoi enregistrer ? "), &dialog);
  auto* groupLayout = new QVBoxLayout(group);
  auto* onlyThis = new QRadioButton(QStringLiteral("Enregistrer seulement les données de cette calculette."), group);
  auto* all = new QRadioButton(QStringLiteral("Enregistrer aussi les données contenues dans les autres calculettes."), group);
  onlyThis->setChecked(true);
  groupLayout->addWidget(onlyThis);
  groupLayout->addWidget(all);
  layout->addWidget(group);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, &dialog);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuler"));
  buttons->button(QDialogButtonBox::Help)->setText(QStringLiteral("&Aide"));
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  QObject::connect(buttons, &QDialogButtonBox::helpRequested, &dialog,
                   [&dialog] { HelpWindow::showTopic(QStringLiteral("documents"), &dialog); });
  if (dialog.exec() != QDialog::Accepted) {
    document.setText(document.previousText());
    return false;
  }
  const std::string everything = document.text();
  if (onlyThis->isChecked()) {
    document.setText({});
    document.StoreSection(calculator, body);
  }
  if (document.WriteDocumentFile(path)) return true;
  // Not written: the other calculators' work stays in memory.
  document.setText(everything);
  return false;
}

}  // namespace qz
