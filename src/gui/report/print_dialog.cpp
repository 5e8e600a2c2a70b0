#include "report/print_dialog.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "platform/qt_text.h"
#include "report/report_job.h"

namespace qz {

namespace {

// A name in a white box with a grey shadow below and to the right.
QLabel* shadowedBox(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setMinimumWidth(260);
  label->setMargin(3);
  label->setStyleSheet(QStringLiteral("QLabel { background: white; border: 1px solid #808080;"
                                      " border-right: 3px solid #808080; border-bottom: 3px solid #808080; }"));
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

}  // namespace

PrintDialog::PrintDialog(bool diagram, int pageCount, const PrintTarget& target, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("printDialog"));
  setWindowTitle(diagram ? QStringLiteral(" Imprimer le diagramme") : QStringLiteral(" Imprimer la note de calcul"));

  m_printer = shadowedBox(this);
  m_printer->setObjectName(QStringLiteral("printerName"));
  m_location = shadowedBox(this);
  m_location->setObjectName(QStringLiteral("printerPort"));
  m_note = new QLabel(this);
  m_note->setWordWrap(true);
  m_changeButton = new QPushButton(QStringLiteral("&Changer"), this);
  m_changeButton->setObjectName(QStringLiteral("changeButton"));
  m_changeButton->setAutoDefault(false);
  m_changeButton->setToolTip(QStringLiteral("Choisir une autre imprimante du système"));
  connect(m_changeButton, &QPushButton::clicked, this, &PrintDialog::changePrinter);

  auto* where = new QGridLayout;
  where->addWidget(new QLabel(QStringLiteral("Imprimer sur :"), this), 0, 0);
  where->addWidget(m_printer, 0, 1);
  where->addWidget(m_changeButton, 0, 2);
  where->addWidget(new QLabel(QStringLiteral("Port :"), this), 1, 0);
  where->addWidget(m_location, 1, 1);
  where->addWidget(m_note, 2, 0, 1, 3);

  m_copies = new QSpinBox(this);
  m_copies->setObjectName(QStringLiteral("copies"));
  m_copies->setRange(1, 100);
  auto* copiesRow = new QHBoxLayout;
  copiesRow->addWidget(new QLabel(QStringLiteral("Nombre de copies :"), this));
  copiesRow->addWidget(m_copies);
  copiesRow->addStretch(1);

  auto* pages = new QGroupBox(QStringLiteral("Pages imprimées "), this);
  m_pagesText = new QLabel(pages);
  m_pagesText->setObjectName(QStringLiteral("pageCountText"));
  m_from = new QSpinBox(pages);
  m_from->setObjectName(QStringLiteral("fromPage"));
  m_to = new QSpinBox(pages);
  m_to->setObjectName(QStringLiteral("toPage"));
  m_all = new QPushButton(QStringLiteral("&Toutes"), pages);
  m_all->setObjectName(QStringLiteral("allPages"));
  m_all->setAutoDefault(false);
  connect(m_all, &QPushButton::clicked, this, [this] {
    m_from->setValue(1);
    m_to->setValue(m_pageCount);
  });
  auto* range = new QHBoxLayout;
  range->addWidget(new QLabel(QStringLiteral("Pages :"), pages));
  range->addWidget(m_from);
  range->addWidget(new QLabel(QStringLiteral("à"), pages));
  range->addWidget(m_to);
  range->addSpacing(12);
  range->addWidget(m_all);
  range->addStretch(1);
  auto* pagesLayout = new QVBoxLayout(pages);
  pagesLayout->addWidget(m_pagesText);
  pagesLayout->addLayout(range);

  m_print = new QPushButton(QStringLiteral("&IMPRIMER"), this);
  m_print->setObjectName(QStringLiteral("printButton"));
  m_print->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Annuler"), this);
  cancel->setAutoDefault(false);
  connect(m_print, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(m_print);
  buttons->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(14, 12, 14, 10);
  layout->setSpacing(10);
  layout->addLayout(where);
  layout->addLayout(copiesRow);
  layout->addWidget(pages);
  layout->addLayout(buttons);

  showTarget(target);
  showPageCount(pageCount);
  setFixedSize(sizeHint());
}

void PrintDialog::showTarget(const PrintTarget& target) {
  const bool printer = !target.name.isEmpty();
  m_printer->setText(printer ? target.name : QStringLiteral("Fichier PDF"));
  m_location->setText(printer ? target.location : QStringLiteral("Dossier d'exportation"));
  m_note->setText(printer ? QString()
                          : QStringLiteral("Aucune imprimante n'est installée : la note de calcul sera "
                                           "enregistrée en PDF dans le dossier d'exportation."));
  m_note->setVisible(!printer);
  m_changeButton->setEnabled(target.canChange);
  // Copies of a file are the same file: one is enough.
  m_copies->setEnabled(printer);
  if (!printer) m_copies->setValue(1);
}

void PrintDialog::showPageCount(int pageCount) {
  m_pageCount = std::max(1, pageCount);
  m_pagesText->setText(cp1252ToQString(pageCountText(m_pageCount)));
  for (QSpinBox* box : {m_from, m_to}) box->setRange(1, m_pageCount);
  m_from->setValue(1);
  m_to->setValue(m_pageCount);
  const bool several = m_pageCount > 1;
  m_from->setEnabled(several);
  m_to->setEnabled(several);
  m_all->setEnabled(several);
}

void PrintDialog::changePrinter() {
  if (!m_change) return;
  const auto changed = m_change();
  if (!changed) return;
  showTarget(changed->first);
  showPageCount(changed->second);
}

PrintRange PrintDialog::range() const {
  return normalizePrintRange(PrintRange{m_from->value(), m_to->value(), m_copies->value()}, m_pageCount);
}

}  // namespace qz
