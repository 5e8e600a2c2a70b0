#include "units/units_panel.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/calc_app.h"
#include "app/commands.h"
#include "numbers/messages.h"
#include "numbers/real_format.h"
#include "numbers/string_table.h"
#include "platform/painter_canvas.h"
#include "platform/places.h"
#include "platform/qt_text.h"
#include "scientific/result_box.h"
#include "units/conversions_view.h"
#include "units/markup_label.h"
#include "units/unit_analysis.h"
#include "units/unit_sheet.h"
#include "units/units_database.h"
#include "units/units_model.h"

namespace qz {

namespace {

constexpr int kCurrentCaption = 624;
constexpr int kNewCaption = 625;
constexpr int kClipboardUnusable = 94;
constexpr int kIncoherentUnits = 161;

QPushButton* makeButton(const QString& text, const QString& tip, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setToolTip(tip);
  button->setAutoDefault(false);
  return button;
}

// The result box is highlighted while the mouse is over it: a click selects it for the memories.
class HoverResultBox : public ResultBox {
 public:
  using ResultBox::ResultBox;

 protected:
  void enterEvent(QEnterEvent* event) override {
    m_hover = true;
    update();
    ResultBox::enterEvent(event);
  }
  void leaveEvent(QEvent* event) override {
    m_hover = false;
    update();
    ResultBox::leaveEvent(event);
  }
  void paintEvent(QPaintEvent* event) override {
    ResultBox::paintEvent(event);
    if (!m_hover || selected()) return;
    QPainter p(this);
    p.setPen(QPen(palette().color(QPalette::Highlight), 2));
    p.drawRect(rect().adjusted(3, 3, -3, -3));
  }

 private:
  bool m_hover = false;
};

}  // namespace

std::string unitsDataFolder(const CalcApp& app) {
  const std::string& program = app.places().programFolder;
  if (!program.empty() &&
      QFileInfo::exists(QString::fromStdString(joinPath(program, std::string(kUnitsDatabaseFileName)))))
    return program;
  return shippedDataFolder(QCoreApplication::applicationDirPath().toStdString());
}

UnitsPanel::UnitsPanel(CalcApp& app, UnitsDatabase& database, QWidget* parent)
    : CalculatorPanel(parent),
      m_app(app),
      m_database(database),
      m_model(std::make_unique<UnitsModel>(app.messenger())) {
  m_model->setCoherenceQuestion(
      [this](const UnitRecord& current, const UnitRecord& target) { return askCoherence(current, target); });
  buildLayout();
  showState();
}

UnitsPanel::UnitsPanel(CalcApp& app, QWidget* parent) : UnitsPanel(app, *new UnitsDatabase, parent) {
  // The delegated constructor took a reference to it; the panel owns it from here.
  m_ownDatabase.reset(&m_database);
}

UnitsPanel::~UnitsPanel() {
  // The sheet edits m_edited: it must go first.
  delete m_sheet;
}

void UnitsPanel::buildLayout() {
  setFont(PainterCanvas::qtFont({"Arial", -13, 400}));
  const QFont fieldFont = PainterCanvas::qtFont({"Courier New", -16, 400});

  // Top: the two units side by side, the swap between them.
  const QString groupTitles[2] = {QStringLiteral("Unité courante "), QStringLiteral("Nouvelle unité ")};
  const QString defineTexts[2] = {QStringLiteral("Définition de l'&unité"),
                                  QStringLiteral("Définitio&n de l'unité")};
  const QString modifyTexts[2] = {QStringLiteral("Mo&difier"), QStringLiteral("Mod&ifier")};
  const int defineIds[2] = {kCmdDefineCurrent, kCmdDefineNew};
  const int modifyIds[2] = {kCmdModifyCurrent, kCmdModifyNew};
  const int clearIds[2] = {kCmdClearCurrent, kCmdClearNew};
  QGroupBox* unitGroups[2];
  for (int which = 0; which < 2; ++which) {
    auto* group = new QGroupBox(groupTitles[which], this);
    unitGroups[which] = group;
    m_unitLabels[which] = new MarkupLabel(group);
    m_unitLabels[which]->setBaseFont({"Arial", -20, 400});
    m_unitLabels[which]->setMinimumHeight(46);
    m_define[which] =
        makeButton(defineTexts[which], QStringLiteral("Choisir l'unité dans la base de données"), group);
    m_modify[which] = makeButton(modifyTexts[which], QStringLiteral("Modifier l'unité"), group);
    m_clearUnit[which] = makeButton(QStringLiteral("Effacer"), QStringLiteral("Vider l'unité"), group);
    // "Définition" and "Modifier" share one place: one shows while the unit is empty, the other once it is
    // set.
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addWidget(m_define[which]);
    buttons->addWidget(m_modify[which]);
    buttons->addStretch(1);
    buttons->addWidget(m_clearUnit[which]);
    auto* column = new QVBoxLayout(group);
    column->setContentsMargins(10, 8, 10, 10);
    column->setSpacing(8);
    column->addWidget(m_unitLabels[which]);
    column->addLayout(buttons);
    connect(m_define[which], &QPushButton::clicked, this, [this, id = defineIds[which]] { command(id); });
    connect(m_modify[which], &QPushButton::clicked, this, [this, id = modifyIds[which]] { command(id); });
    connect(m_clearUnit[which], &QPushButton::clicked, this, [this, id = clearIds[which]] { command(id); });
  }
  m_swap = makeButton(QStringLiteral("In&verser les unités"),
                      QStringLiteral("Échanger l'unité courante et la nouvelle unité"), this);
  connect(m_swap, &QPushButton::clicked, this, [this] { command(kCmdSwapUnits); });
  auto* swapColumn = new QVBoxLayout;
  swapColumn->addStretch(1);
  swapColumn->addWidget(m_swap);
  swapColumn->addStretch(1);
  auto* top = new QHBoxLayout;
  top->setSpacing(10);
  top->addWidget(unitGroups[0], 1);
  top->addLayout(swapColumn);
  top->addWidget(unitGroups[1], 1);

  // Left: the value and its result.
  auto* application = new QGroupBox(QStringLiteral("Application "), this);
  auto* valueLabel = new QLabel(QStringLiteral("Valeur en unité courante :"), application);
  m_value = new QLineEdit(application);
  m_value->setObjectName(QStringLiteral("value"));
  m_value->setFont(fieldFont);
  m_value->setMaxLength(UnitsModel::kMaxValueLength);
  m_value->setMinimumHeight(30);
  m_value->setToolTip(QStringLiteral("Valeur à convertir (Entrée : calculer)"));
  valueLabel->setBuddy(m_value);
  auto* resultLabel = new QLabel(QStringLiteral("Valeur dans la nouvelle unité :"), application);
  m_result = new HoverResultBox(application);
  m_result->setMinimumHeight(30);
  m_clearValue =
      makeButton(QStringLiteral("Efface&r"), QStringLiteral("Vider la valeur et le résultat"), application);
  m_convert = makeButton(QStringLiteral("CA&LCULER"),
                         QStringLiteral("Convertir la valeur dans la nouvelle unité"), application);
  auto* appColumn = new QVBoxLayout(application);
  appColumn->setContentsMargins(10, 8, 10, 10);
  appColumn->setSpacing(6);
  appColumn->addWidget(valueLabel);
  appColumn->addWidget(m_value);
  appColumn->addSpacing(6);
  appColumn->addWidget(resultLabel);
  appColumn->addWidget(m_result);
  appColumn->addStretch(1);
  auto* appButtons = new QHBoxLayout;
  appButtons->addWidget(m_clearValue);
  appButtons->addStretch(1);
  appButtons->addWidget(m_convert);
  appColumn->addLayout(appButtons);
  connect(m_value, &QLineEdit::textEdited, this, &UnitsPanel::valueEdited);
  connect(m_clearValue, &QPushButton::clicked, this, [this] { command(kCmdClearValue); });
  connect(m_convert, &QPushButton::clicked, this, [this] { command(kCmdConvert); });
  connect(m_result, &ResultBox::clicked, this, [this] {
    m_model->setResultSelected(true);
    showState();
  });

  // Right: the conversions list.
  auto* listGroup = new QGroupBox(QStringLiteral("Liste des conversions "), this);
  m_list = new ConversionsView(*m_model, listGroup);
  m_clearList = makeButton(QStringLiteral("Effacer &tout"), QStringLiteral("Vider la liste des conversions"),
                           listGroup);
  m_clearLast = makeButton(QStringLiteral("Effacer dernière conver&sion"),
                           QStringLiteral("Retirer la dernière conversion de la liste"), listGroup);
  auto* listButtons = new QHBoxLayout;
  listButtons->addWidget(m_clearList);
  listButtons->addWidget(m_clearLast);
  listButtons->addStretch(1);
  auto* listColumn = new QVBoxLayout(listGroup);
  listColumn->setContentsMargins(10, 8, 10, 10);
  listColumn->setSpacing(8);
  listColumn->addWidget(m_list, 1);
  listColumn->addLayout(listButtons);
  connect(m_clearList, &QPushButton::clicked, this, [this] { command(kCmdClearConversions); });
  connect(m_clearLast, &QPushButton::clicked, this, [this] { command(kCmdClearLastConversion); });

  auto* middle = new QHBoxLayout;
  middle->setSpacing(10);
  middle->addWidget(application, 4);
  middle->addWidget(listGroup, 5);

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(12, 10, 12, 2);
  root->setSpacing(10);
  root->addLayout(top);
  root->addLayout(middle, 1);

  m_value->installEventFilter(this);
  QWidget::setTabOrder(m_value, m_convert);
  QWidget::setTabOrder(m_convert, m_clearValue);
}

bool UnitsPanel::eventFilter(QObject* watched, QEvent* event) {
  // Enter in the value field converts, and nothing else: the key must not
  // go on to the window, whose default button closes the calculator.
  if (watched == m_value && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      command(kCmdConvert);
      return true;
    }
  }
  // A value refused by "CA&LCULER" and corrected since does not keep the
  // window open: leaving the field looks at it again, quietly.
  if (watched == m_value && event->type() == QEvent::FocusOut && !m_app.validEntry &&
      m_model->valueStatus() != UnitValueStatus::Invalid)
    m_app.validEntry = true;
  return CalculatorPanel::eventFilter(watched, event);
}

void UnitsPanel::showEvent(QShowEvent* event) {
  CalculatorPanel::showEvent(event);
  // "CA&LCULER" is the button Enter presses; the window made "&Quitter" its
  // default before this panel was shown.
  m_convert->setDefault(true);
}

void UnitsPanel::showState() {
  const bool set[2] = {!m_model->unit(0).empty(), !m_model->unit(1).empty()};
  for (int which = 0; which < 2; ++which) {
    m_unitLabels[which]->setMarkup(set[which] ? UnitText(m_model->unit(which)) : std::string());
    m_define[which]->setVisible(!set[which]);
    m_modify[which]->setVisible(set[which]);
    m_clearUnit[which]->setEnabled(set[which]);
  }
  m_swap->setEnabled(set[0] && set[1]);
  const QString text = cp1252ToQString(m_model->valueText());
  if (m_value->text() != text) {
    m_showing = true;
    m_value->setText(text);
    m_showing = false;
  }
  m_result->setContent(QStringLiteral(" ") + cp1252ToQString(m_model->resultText()),
                       m_model->resultSelected());
  const bool rows = !m_model->rows().empty();
  m_clearList->setEnabled(rows);
  m_clearLast->setEnabled(rows);
  m_list->refresh(false);
  emit stateChanged();
}

// ---- Document section -------------------------------------------------------------------

void UnitsPanel::loadSection(const std::optional<std::string>& body) {
  m_model->loadSection(body);
  m_app.validEntry = true;
  showState();
  m_list->refresh(true);
}

std::optional<std::string> UnitsPanel::sectionBody() const { return m_model->sectionBody(); }

bool UnitsPanel::commitFields() {
  // The field's text is taken on every change; nothing is refused on the way out.
  return true;
}

void UnitsPanel::clearAll() {
  m_model->clearAll();
  m_app.validEntry = true;
  showState();
  m_list->refresh(true);
}

// ---- Memories ------------------------------------------------------------------------------

bool UnitsPanel::memoryValue(std::string& valueText) const {
  auto* self = const_cast<UnitsPanel*>(this);
  if (window()->focusWidget() == m_value) {
    double value = 0.0;
    const UnitValueStatus status = m_model->checkValue(value);
    m_app.validEntry = m_model->entryValid();
    if (status != UnitValueStatus::Valid) return false;
    valueText = exchangeText(value);
    return true;
  }
  const std::optional<double> result = m_model->selectedResult();
  self->showState();
  if (!result) return false;
  valueText = exchangeText(*result);
  return true;
}

bool UnitsPanel::useMemory(const std::string& valueText) {
  double value = 0.0;
  if (!parseReal(valueText, value)) return false;
  m_model->useValue(value);
  m_app.validEntry = true;
  showState();
  m_value->setFocus(Qt::OtherFocusReason);
  m_value->deselect();
  return true;
}

// ---- Menus -----------------------------------------------------------------------------------

void UnitsPanel::fillEditMenu(QMenu* edit) {
  auto add = [&](const QString& text, int id, const QKeySequence& keys = {}) {
    QAction* action = edit->addAction(text);
    action->setData(id);
    if (!keys.isEmpty()) action->setShortcut(keys);
    return action;
  };
  add(QStringLiteral("&Copier"), kCmdCopy, QKeySequence::Copy);
  m_copyListAction = add(QStringLiteral("&Copier les conversions"), kCmdCopyConversions);
  add(QStringLiteral("C&oller"), kCmdPaste, QKeySequence::Paste);
  edit->addSeparator();
  m_clearListAction = add(QStringLiteral("&Effacer la liste"), kCmdUnitsClearList);
  aboutToShowMenus();
}

void UnitsPanel::aboutToShowMenus() {
  const bool rows = !m_model->rows().empty();
  if (m_copyListAction) m_copyListAction->setEnabled(rows);
  if (m_clearListAction) m_clearListAction->setEnabled(rows);
}

// ---- Commands ----------------------------------------------------------------------------------

bool UnitsPanel::command(int id) {
  switch (id) {
    case kCmdDefineCurrent:
    case kCmdModifyCurrent:
      editUnit(0);
      return true;
    case kCmdDefineNew:
    case kCmdModifyNew:
      editUnit(1);
      return true;
    case kCmdClearCurrent:
    case kCmdClearNew:
      m_model->clearUnit(id == kCmdClearNew ? 1 : 0);
      m_list->refresh(false);
      break;
    case kCmdSwapUnits:
      m_model->swapUnits();
      break;
    case kCmdConvert:
      convert();
      return true;
    case kCmdClearValue:
      m_model->clearValue();
      m_app.validEntry = true;
      m_value->setFocus(Qt::OtherFocusReason);
      break;
    case kCmdClearConversions:
    case kCmdUnitsClearList:
      m_model->clearList();
      m_app.validEntry = true;
      showState();
      m_list->refresh(false);
      return true;
    case kCmdClearLastConversion:
      m_model->clearLastConversion();
      break;
    case kCmdCopy:
      copy();
      return true;
    case kCmdCopyConversions:
      copyConversions();
      return true;
    case kCmdPaste:
      paste();
      break;
    case kCmdUnitsRefresh:
      update();
      break;
    default:
      return false;
  }
  showState();
  return true;
}

std::unique_ptr<ReportSource> UnitsPanel::reportSource() { return unitsReportSource(*m_model); }

bool UnitsPanel::commandEnabled(int id) const {
  switch (id) {
    case kCmdCopyConversions:
    case kCmdUnitsClearList:
      return !m_model->rows().empty();
    case kCmdCopy:
    case kCmdPaste:
    case kCmdUnitsRefresh:
      return true;
    default:
      return false;
  }
}

void UnitsPanel::convert() {
  const bool appended = m_model->convert();
  m_app.validEntry = m_model->entryValid();
  showState();
  if (appended) m_list->refresh(true);
  m_value->setFocus(Qt::OtherFocusReason);
  if (!m_model->entryValid()) m_value->selectAll();
}

void UnitsPanel::valueEdited(const QString& text) {
  if (m_showing) return;
  const int caret = m_value->cursorPosition();
  // The field shows the number as the model took it ("e" as "E", "," as ".").
  if (m_model->editValue(qStringToCp1252(text))) {
    const QString shown = cp1252ToQString(m_model->valueText());
    if (shown != text) {
      m_showing = true;
      m_value->setText(shown);
      m_value->setCursorPosition(caret);
      m_showing = false;
    }
    return;
  }
  // A refused keystroke is taken back, the caret where it was.
  m_showing = true;
  m_value->setText(cp1252ToQString(m_model->valueText()));
  m_value->setCursorPosition(std::max(0, caret - 1));
  m_showing = false;
}

// ---- Unit definition ---------------------------------------------------------------------------

bool UnitsPanel::editUnit(int which) {
  if (m_sheet) return false;
  if (m_database.units.empty() && !LoadUnitsDatabase(unitsDataFolder(m_app), m_app.messenger(), m_database))
    return false;
  m_editing = which ? 1 : 0;
  m_model->beginUnitChange();
  m_edited = std::make_unique<UnitRecord>(m_model->unit(m_editing));
  const QString caption = cp1252ToQString(LoadString(m_editing ? kNewCaption : kCurrentCaption)).trimmed();
  m_sheet =
      new UnitSheet(m_database, *m_edited, m_app.messenger(), m_app.places().userDataFolder, caption, this);
  m_sheet->setAttribute(Qt::WA_DeleteOnClose);
  connect(m_sheet, &QDialog::finished, this, &UnitsPanel::sheetFinished);
  m_sheet->open();
  return true;
}

void UnitsPanel::sheetFinished(int result) {
  if (result == QDialog::Accepted && m_edited) {
    m_model->finishUnitChange(m_editing, *m_edited);
    m_list->refresh(true);
  }
  m_sheet = nullptr;
  showState();
  m_value->setFocus(Qt::OtherFocusReason);
}

bool UnitsPanel::askCoherence(const UnitRecord& current, const UnitRecord& target) {
  QDialog box(this);
  box.setWindowTitle(QStringLiteral("Validation du changement d'unité"));
  auto* grid = new QGridLayout;
  const QString titles[2] = {QStringLiteral("Unité courante : "), QStringLiteral("Nouvelle unité : ")};
  const UnitRecord* units[2] = {&current, &target};
  for (int which = 0; which < 2; ++which) {
    auto* title = new QLabel(titles[which], &box);
    title->setStyleSheet(QStringLiteral("font-weight: bold"));
    grid->addWidget(title, which * 3, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Expression :"), &box), which * 3 + 1, 0);
    auto* expression = new MarkupLabel(&box);
    expression->setMarkup(UnitText(*units[which]));
    grid->addWidget(expression, which * 3 + 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Dimension :"), &box), which * 3 + 2, 0);
    auto* dimension = new MarkupLabel(&box);
    dimension->setMarkup(DimensionText(DimensionOf(*units[which])));
    grid->addWidget(dimension, which * 3 + 2, 1);
  }
  auto* warning = new QLabel(cp1252ToQString(LoadString(kIncoherentUnits)), &box);
  warning->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold"));
  auto* buttons = new QDialogButtonBox(&box);
  QPushButton* proceed = buttons->addButton(QStringLiteral("&Continuer"), QDialogButtonBox::AcceptRole);
  QPushButton* abandon = buttons->addButton(QStringLiteral("Abando&nner"), QDialogButtonBox::RejectRole);
  // The safe answer has the focus: an Enter typed on the way keeps the units
  // (and the list) as they were.
  proceed->setAutoDefault(false);
  abandon->setDefault(true);
  abandon->setFocus(Qt::OtherFocusReason);
  connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::reject);
  auto* column = new QVBoxLayout(&box);
  column->addLayout(grid);
  column->addWidget(warning);
  column->addWidget(buttons);
  box.resize(460, box.sizeHint().height());
  return box.exec() == QDialog::Accepted;
}

// ---- Clipboard ----------------------------------------------------------------------------------

void UnitsPanel::copy() {
  if (!m_model->resultSelected()) {
    if (window()->focusWidget() == m_value) m_value->copy();
    return;
  }
  const std::optional<double> result = m_model->selectedResult();
  if (!result) return;
  QClipboard* clipboard = QApplication::clipboard();
  if (!clipboard) {
    ShowMessage(m_app.messenger(), kCaptionError, kClipboardUnusable, {}, MessageStyle::Error);
    return;
  }
  clipboard->setText(cp1252ToQString(FormatReal(*result, FormatMode::Free, 2)));
}

void UnitsPanel::copyConversions() {
  if (m_model->rows().empty()) return;
  QClipboard* clipboard = QApplication::clipboard();
  if (!clipboard) {
    ShowMessage(m_app.messenger(), kCaptionError, kClipboardUnusable, {}, MessageStyle::Error);
    return;
  }
  clipboard->setText(cp1252ToQString(m_model->conversionsText()));
}

void UnitsPanel::paste() {
  QClipboard* clipboard = QApplication::clipboard();
  if (!clipboard) return;
  const QString text = clipboard->text().trimmed().toUpper();
  if (!m_model->editValue(qStringToCp1252(text))) return;
  showState();
  m_value->setFocus(Qt::OtherFocusReason);
  m_value->end(false);
}

}  // namespace qz
