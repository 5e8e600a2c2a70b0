#include "statistics/select_rows_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "numbers/string_table.h"
#include "platform/painter_canvas.h"
#include "platform/qt_text.h"

namespace qz {

namespace {

constexpr int kFieldDigits = 5;

}  // namespace

SelectRowsDialog::SelectRowsDialog(StatMode mode, int count, const StatGrid::RowRangeChoice& start,
                                   Messenger& messenger, QWidget* parent)
    : QDialog(parent), m_count(count), m_messenger(messenger), m_choice(start) {
  setWindowTitle(QStringLiteral("Sélectionner"));
  setFont(PainterCanvas::qtFont({"Arial", -13, 400}));
  m_from = new QLineEdit(QString::number(start.from), this);
  m_to = new QLineEdit(QString::number(start.to), this);
  m_fromText = m_from->text();
  m_toText = m_to->text();
  for (QLineEdit* field : {m_from, m_to}) {
    field->setMaxLength(kFieldDigits);
    field->setMaximumWidth(90);
    field->setAlignment(Qt::AlignRight);
  }
  m_from->setObjectName(QStringLiteral("from"));
  m_to->setObjectName(QStringLiteral("to"));
  auto* all = new QPushButton(QStringLiteral("Tout"), this);
  all->setAutoDefault(false);
  connect(all, &QPushButton::clicked, this, [this] {
    m_from->setText(QStringLiteral("1"));
    m_to->setText(QString::number(m_count));
    m_fromText = m_from->text();
    m_toText = m_to->text();
  });

  auto* rows = new QGridLayout;
  rows->setHorizontalSpacing(10);
  rows->addWidget(new QLabel(QStringLiteral("Depuis le n° :"), this), 0, 0);
  rows->addWidget(m_from, 0, 1);
  rows->addWidget(new QLabel(QStringLiteral("Min = 1"), this), 0, 2);
  rows->addWidget(new QLabel(QStringLiteral("Jusqu'au n° :"), this), 1, 0);
  rows->addWidget(m_to, 1, 1);
  rows->addWidget(new QLabel(QStringLiteral("Max = %1").arg(count), this), 1, 2);
  rows->addWidget(all, 0, 3, 2, 1);

  auto* group = new QGroupBox(QStringLiteral("Appliquer sur : "), this);
  auto* options = new QVBoxLayout(group);
  int texts[3] = {14, 16, 17};
  if (mode == StatMode::Pairs) texts[1] = 18, texts[2] = 19;
  for (int i = 0; i < 3; ++i) {
    m_options[i] = new QRadioButton(cp1252ToQString(LoadString(texts[i])), group);
    options->addWidget(m_options[i]);
    if (i > 0 && mode == StatMode::Values) m_options[i]->hide();
  }
  m_options[std::clamp(start.option, 0, mode == StatMode::Values ? 0 : 2)]->setChecked(true);

  auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  box->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuler"));
  connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(rows);
  layout->addWidget(group);
  layout->addWidget(box);

  // Leaving a field checks it; going to "Annuler" checks nothing.
  connect(qApp, &QApplication::focusChanged, this, [this, box](QWidget* old, QWidget* now) {
    if (!now || now->window() != this || now == box->button(QDialogButtonBox::Cancel)) return;
    if (old == m_from) checkField(m_from, m_fromText);
    if (old == m_to) checkField(m_to, m_toText);
  });
}

bool SelectRowsDialog::checkField(QLineEdit* field, QString& previous) {
  if (auto value = checkSelectionRowField(qStringToCp1252(field->text()), m_count, m_messenger)) {
    previous = field->text();
    return true;
  }
  field->setText(previous);
  field->setFocus(Qt::OtherFocusReason);
  field->selectAll();
  return false;
}

void SelectRowsDialog::accept() {
  if (!checkField(m_from, m_fromText) || !checkField(m_to, m_toText)) return;
  m_choice.from = m_from->text().toInt();
  m_choice.to = m_to->text().toInt();
  m_choice.option = m_options[2]->isChecked() ? 2 : m_options[1]->isChecked() ? 1 : 0;
  QDialog::accept();
}

}  // namespace qz
