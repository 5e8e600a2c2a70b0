#include "app/folders_dialog.h"

#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/calc_app.h"
#include "app/help_window.h"
#include "files/display_path.h"
#include "numbers/string_table.h"
#include "platform/qt_text.h"

namespace qz {

namespace {
constexpr int kLabelStrings[2] = {302, 303};  // "Fichiers de données", "Fichiers d'exportation"
}

FoldersDialog::FoldersDialog(CalcApp& app, QWidget* parent) : QDialog(parent), m_app(app), m_folders(app.folders) {
  setWindowTitle(QStringLiteral(" Dossiers d'enregistrement par défaut"));
  auto* layout = new QVBoxLayout(this);
  auto* group = new QGroupBox(QStringLiteral("Localisation"), this);
  auto* groupLayout = new QVBoxLayout(group);
  auto* headings = new QHBoxLayout;
  headings->addWidget(new QLabel(QStringLiteral("Type de fichiers :"), group));
  headings->addWidget(new QLabel(QStringLiteral("Emplacement :"), group), 1);
  groupLayout->addLayout(headings);
  m_list = new QListWidget(group);
  m_list->setMinimumWidth(520);
  m_list->setFixedHeight(64);
  groupLayout->addWidget(m_list);
  layout->addWidget(group);

  auto* buttons = new QHBoxLayout;
  m_change = new QPushButton(QStringLiteral("&Changer"), this);
  auto* defaults = new QPushButton(QStringLiteral("&Défaut"), this);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  auto* cancel = new QPushButton(QStringLiteral("Annuler"), this);
  auto* help = new QPushButton(QStringLiteral("&Aide"), this);
  ok->setDefault(true);
  for (QPushButton* b : {m_change, defaults}) buttons->addWidget(b);
  buttons->addStretch(1);
  for (QPushButton* b : {ok, cancel, help}) buttons->addWidget(b);
  layout->addLayout(buttons);

  m_change->setEnabled(false);
  connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) { m_change->setEnabled(row >= 0); });
  connect(m_change, &QPushButton::clicked, this, &FoldersDialog::browse);
  connect(defaults, &QPushButton::clicked, this, &FoldersDialog::resetToDefaults);
  connect(ok, &QPushButton::clicked, this, &FoldersDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &FoldersDialog::reject);
  connect(help, &QPushButton::clicked, this, [this] { HelpWindow::showTopic(QStringLiteral("dossiers"), this); });
  fillList();
}

void FoldersDialog::fillList() {
  int row = m_list->currentRow();
  m_list->clear();
  // One tab stop past the widest label plus five blanks, as the list always showed.
  QFontMetrics metrics(m_list->font());
  int widest = 0;
  for (int id : kLabelStrings) widest = std::max(widest, metrics.horizontalAdvance(cp1252ToQString(LoadString(id))));
  int tab = widest + metrics.horizontalAdvance(QStringLiteral("     "));
  for (int i = 0; i < 2; ++i) {
    auto* item = new QListWidgetItem(m_list);
    QString label = cp1252ToQString(LoadString(kLabelStrings[i]));
    QString gap(std::max(1, (tab - metrics.horizontalAdvance(label)) / std::max(1, metrics.horizontalAdvance(' '))), ' ');
    item->setText(label + gap + QString::fromStdString(DisplayPath(m_folders[static_cast<std::size_t>(i)])));
  }
  if (row >= 0) m_list->setCurrentRow(row);
}

void FoldersDialog::selectLine(int line) { m_list->setCurrentRow(line); }

void FoldersDialog::browse() {
  int row = m_list->currentRow();
  if (row < 0) return;
  QString chosen = QFileDialog::getExistingDirectory(this, QStringLiteral("Dossier :"),
                                                     QString::fromStdString(m_folders[static_cast<std::size_t>(row)]));
  if (!chosen.isEmpty()) changeSelected(chosen.toStdString());
}

void FoldersDialog::changeSelected(const std::string& folder) {
  int row = m_list->currentRow();
  if (row < 0) return;
  m_folders[static_cast<std::size_t>(row)] = folder;
  fillList();
}

void FoldersDialog::resetToDefaults() {
  m_folders = m_app.factoryFolders();
  fillList();
}

void FoldersDialog::accept() {
  m_app.storeFolders(m_folders);
  QDialog::accept();
}

void FoldersDialog::reject() { QDialog::reject(); }

}  // namespace qz
