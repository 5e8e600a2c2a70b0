#include "standard/standard_panel.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QLinearGradient>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "app/calc_app.h"
#include "app/calculator_window.h"
#include "app/commands.h"
#include "platform/painter_canvas.h"
#include "platform/qt_text.h"
#include "standard/display_field.h"
#include "standard/display_number.h"
#include "standard/keypad_widget.h"
#include "standard/memory_boxes.h"
#include "standard/tape_section.h"
#include "standard/tape_view.h"

namespace qz {

namespace {

using C = StandardCommand;

constexpr int kModes[3] = {0, 1, 3};
constexpr C kModeCommands[3] = {C::FreeMode, C::FixedMode, C::ScientificMode};

int id(C c) { return static_cast<int>(c); }

// The body of the calculator behind the display and the keys: a moulded
// case in warm grey.
class DeskBody : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF outer = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(outer, 10, 10);
    QLinearGradient fill(outer.topLeft(), outer.bottomLeft());
    fill.setColorAt(0.0, QColor(92, 96, 104));
    fill.setColorAt(1.0, QColor(58, 61, 68));
    p.fillPath(path, fill);
    p.setPen(QPen(QColor(36, 38, 43), 1.0));
    p.drawPath(path);
    // The maker's plate under the keys.
    QFont plate = PainterCanvas::qtFont({"Arial", -10, 700});
    plate.setLetterSpacing(QFont::AbsoluteSpacing, 2.0);
    p.setFont(plate);
    p.setPen(QColor(168, 172, 180));
    p.drawText(QRectF(outer.left(), outer.bottom() - 22, outer.width(), 18), Qt::AlignCenter,
               QStringLiteral("KELDORAN  ·  QZ"));
  }
};

}  // namespace

StandardPanel::StandardPanel(CalcApp& app, QWidget* parent)
    : CalculatorPanel(parent),
      m_app(app),
      m_engine(app.messenger()),
      m_calculator(m_engine, app.memories, app.messenger()) {
  m_engine.setDisplaySetting(app.displaySetting);
  buildLayout();
  refreshAll();
}

void StandardPanel::buildLayout() {
  setFont(PainterCanvas::qtFont({"Arial", -13, 400}));

  // Left: the calculator itself (display and keys), the memories under it.
  auto* body = new DeskBody(this);
  auto* bodyLayout = new QVBoxLayout(body);
  bodyLayout->setContentsMargins(14, 12, 14, 26);
  bodyLayout->setSpacing(10);
  auto* displayRow = new QHBoxLayout;
  displayRow->setSpacing(8);
  m_display = new DisplayField(m_calculator, body);
  m_display->setFixedHeight(34);
  m_display->setStyleSheet(QStringLiteral(
      "QLineEdit { background: #dfe8d6; color: #16241a; border: 2px solid #2b2e33; border-radius: 4px;"
      " padding: 0 6px; selection-background-color: #33513c; selection-color: #e8f0e0; }"
      "QLineEdit:disabled { background: #c5ccbf; color: #4a554c; }"));
  // Alt+E belongs to the "&Edition" menu of every calculator window; the "r"
  // is the one letter of the word no other control of this window takes.
  m_clearDisplayButton = new QPushButton(QStringLiteral("Efface&r"), body);
  m_clearDisplayButton->setObjectName(QStringLiteral("clearDisplayButton"));
  m_clearDisplayButton->setAutoDefault(false);
  m_clearDisplayButton->setToolTip(QStringLiteral("Vider l'affichage"));
  m_clearDisplayButton->setFixedHeight(34);
  displayRow->addWidget(m_display, 1);
  displayRow->addWidget(m_clearDisplayButton);
  bodyLayout->addLayout(displayRow);
  m_keypad = new KeypadWidget(m_calculator, body);
  bodyLayout->addWidget(m_keypad, 0, Qt::AlignHCenter);

  m_memories = new MemoryBoxes(m_calculator, this);

  auto* left = new QVBoxLayout;
  left->setSpacing(6);
  left->addWidget(body);
  left->addWidget(m_memories);
  left->addStretch(1);

  // Right: the tape and its buttons.
  m_tape = new TapeView(m_calculator, this);
  m_tape->setMinimumWidth(330);
  m_editButtons = new QStackedWidget(this);
  auto* normalPage = new QWidget(m_editButtons);
  auto* normalRow = new QHBoxLayout(normalPage);
  normalRow->setContentsMargins(0, 0, 0, 0);
  m_deleteLastButton = new QPushButton(QStringLiteral("&Supprimer dernière entrée (^Z)"), normalPage);
  normalRow->addWidget(m_deleteLastButton);
  normalRow->addStretch(1);
  auto* editPage = new QWidget(m_editButtons);
  auto* editRow = new QHBoxLayout(editPage);
  editRow->setContentsMargins(0, 0, 0, 0);
  m_updateButton = new QPushButton(QStringLiteral("Mise à &jour"), editPage);
  m_updateButton->setToolTip(QStringLiteral("Remplacer le nombre choisi par celui de l'affichage"));
  m_endEditButton = new QPushButton(QStringLiteral("F&in MAJ"), editPage);
  m_endEditButton->setToolTip(QStringLiteral("Terminer la modification du ruban"));
  editRow->addWidget(m_updateButton);
  editRow->addWidget(m_endEditButton);
  editRow->addStretch(1);
  m_editButtons->addWidget(normalPage);
  m_editButtons->addWidget(editPage);
  m_editButtons->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  m_clearTapeButton = new QPushButton(QStringLiteral("Effacer &tout"), this);
  m_clearTapeButton->setToolTip(QStringLiteral("Effacer tout le ruban"));
  for (QPushButton* b : {m_deleteLastButton, m_updateButton, m_endEditButton, m_clearTapeButton})
    b->setAutoDefault(false);

  auto* tapeButtons = new QHBoxLayout;
  tapeButtons->addWidget(m_editButtons, 1);
  tapeButtons->addWidget(m_clearTapeButton);
  auto* right = new QVBoxLayout;
  right->setSpacing(8);
  right->addWidget(m_tape, 1);
  right->addLayout(tapeButtons);

  auto* root = new QHBoxLayout(this);
  root->setContentsMargins(14, 8, 14, 0);
  root->setSpacing(16);
  root->addLayout(left, 0);
  root->addLayout(right, 1);

  connect(m_display, &DisplayField::calculatorChanged, this, [this] { refreshAll(); });
  connect(m_display, &DisplayField::commandForwarded, this,
          [this](int command) { forwardToWindow(command); });
  connect(m_display, &DisplayField::focusChecked, this,
          [this](bool accepted) { m_app.validEntry = accepted; });
  connect(m_display, &DisplayField::keypadKeyTyped, m_keypad, &KeypadWidget::flashKey);
  connect(m_keypad, &KeypadWidget::keyReleased, this, [this](bool) { afterUserAction(); });
  connect(m_tape, &TapeView::selectionChanged, this, [this] { afterUserAction(); });
  connect(m_memories, &MemoryBoxes::memoryButtonClicked, this,
          [this](int i) { runButton(id(C::MemoryButtonFirst) + i, true); });
  connect(m_clearDisplayButton, &QPushButton::clicked, this,
          [this] { runButton(id(C::ClearDisplay), false); });
  connect(m_updateButton, &QPushButton::clicked, this, [this] { runButton(id(C::Update), true); });
  connect(m_endEditButton, &QPushButton::clicked, this, [this] { runButton(id(C::EndEdit), false); });
  connect(m_deleteLastButton, &QPushButton::clicked, this, [this] { runButton(id(C::DeleteLast), false); });
  connect(m_clearTapeButton, &QPushButton::clicked, this, [this] { runButton(id(C::ClearTape), false); });
}

// ---- Document section -----------------------------------------------------------

void StandardPanel::loadSection(const std::optional<std::string>& body) {
  if (body)
    readTapeSection(*body, m_engine.tape());
  else
    m_engine.clearTape();
  m_calculator.reset();
  refreshAll();
}

std::optional<std::string> StandardPanel::sectionBody() const { return writeTapeSection(m_engine.tape()); }

void StandardPanel::clearAll() {
  m_calculator.clearAll();
  refreshAll();
}

// ---- Memories -------------------------------------------------------------------

bool StandardPanel::memoryValue(std::string& valueText) const {
  // With an operator selected the display holds nothing to take.
  if (m_calculator.mode() == EditMode::ChangeOperator) return false;
  const DisplayNumber number = checkDisplayNumber(m_calculator.displayText());
  if (!number.valid) return false;
  valueText = exchangeText(number.value);
  return true;
}

bool StandardPanel::useMemory(const std::string& valueText) {
  if (m_calculator.mode() == EditMode::ChangeOperator || !m_calculator.displayEnabled() ||
      m_calculator.displayReadOnly() || !checkDisplayNumber(valueText).valid)
    return false;
  // Pasted over the whole text: the memory's value replaces the display.
  m_calculator.setDisplaySelection(0, 0);
  const bool done = m_calculator.paste(valueText);
  afterUserAction();
  return done;
}

// ---- Menus ------------------------------------------------------------------------

void StandardPanel::fillEditMenu(QMenu* edit) {
  m_undoAction = addCommandAction(edit, QStringLiteral("&Annuler"), kCmdUndo, QKeySequence::Undo);
  edit->addSeparator();
  addCommandAction(edit, QStringLiteral("&Copier"), kCmdCopy, QKeySequence::Copy);
  addCommandAction(edit, QStringLiteral("C&oller"), kCmdPaste, QKeySequence::Paste);
}

void StandardPanel::addOwnMenus(QMenuBar* bar, QMenu* before) {
  auto* display = new QMenu(QStringLiteral("Affic&hage"), bar);
  const char* modeNames[3] = {"&Libre", "&Fixe", "&Scientifique"};
  for (int i = 0; i < 3; ++i) {
    QAction* action = display->addAction(QString::fromUtf8(modeNames[i]));
    action->setData(id(kModeCommands[i]));
    action->setCheckable(true);
    m_modeActions[static_cast<std::size_t>(i)] = action;
  }
  m_decimalsMenu = display->addMenu(QStringLiteral("&Décimales"));
  for (int d = 0; d < 10; ++d) {
    QAction* action = m_decimalsMenu->addAction(QString::number(d));
    action->setData(id(C::DecimalsFirst) + d);
    action->setCheckable(true);
    m_decimalActions[static_cast<std::size_t>(d)] = action;
  }
  display->addSeparator();
  QAction* refresh = display->addAction(QStringLiteral("&Rafraîchir"));
  refresh->setData(id(C::Refresh));
  bar->insertMenu(before ? before->menuAction() : nullptr, display);
  refreshMenuStates();
}

void StandardPanel::refreshMenuStates() {
  for (int i = 0; i < 3; ++i)
    if (QAction* a = m_modeActions[static_cast<std::size_t>(i)])
      a->setChecked(m_calculator.isModeChecked(kModes[i]));
  if (m_decimalsMenu) m_decimalsMenu->setEnabled(m_calculator.decimalsEnabled());
  for (int d = 0; d < 10; ++d) {
    if (QAction* a = m_decimalActions[static_cast<std::size_t>(d)]) {
      a->setEnabled(m_calculator.decimalsEnabled());
      a->setChecked(m_calculator.isDecimalsChecked(d));
    }
  }
  if (m_undoAction) m_undoAction->setEnabled(m_calculator.canUndo());
}

void StandardPanel::aboutToShowMenus() { refreshMenuStates(); }

// ---- Commands -----------------------------------------------------------------------

bool StandardPanel::command(int command) {
  switch (command) {
    case kCmdCopy:
      copyDisplay();
      return true;
    case kCmdPaste:
      pasteDisplay();
      return true;
    default:
      break;
  }
  m_display->pushSelection();
  if (!m_calculator.command(command)) return false;
  // A display mode chosen here stays for the rest of the run.
  m_app.displaySetting = m_engine.displaySetting();
  afterUserAction();
  return true;
}

std::unique_ptr<ReportSource> StandardPanel::reportSource() { return standardReportSource(m_engine.tape()); }

bool StandardPanel::commandEnabled(int command) const {
  switch (command) {
    case kCmdUndo:
      return m_calculator.canUndo();
    case kCmdCopy:
    case kCmdPaste:
      return true;
    default:
      return false;
  }
}

void StandardPanel::runButton(int command, bool needsValidEntry) {
  // Pressing the button moved the focus out of the display, which checked it;
  // a refused number keeps its message and the button does nothing.
  if (needsValidEntry && !m_app.validEntry) return;
  this->command(command);
}

void StandardPanel::copyDisplay() {
  m_display->pushSelection();
  QApplication::clipboard()->setText(cp1252ToQString(m_calculator.copyText()));
}

void StandardPanel::pasteDisplay() {
  m_display->pushSelection();
  // Surrounding blanks and line ends come with numbers copied from elsewhere.
  m_calculator.paste(qStringToCp1252(QApplication::clipboard()->text().trimmed()));
  afterUserAction();
}

void StandardPanel::forwardToWindow(int command) {
  if (command == kCmdCopy || command == kCmdPaste) {
    this->command(command);
    return;
  }
  if (auto* window = qobject_cast<CalculatorWindow*>(this->window())) window->runCommand(command);
}

void StandardPanel::tick() {
  m_memories->refresh();
  if (m_undoAction) m_undoAction->setEnabled(m_calculator.canUndo());
}

// ---- Showing the state -------------------------------------------------------------

void StandardPanel::refreshAll() {
  m_display->pullFromCalculator();
  m_tape->refresh();
  m_keypad->update();
  m_memories->refresh();
  m_editButtons->setCurrentIndex(m_calculator.editButtonsShown() ? 1 : 0);
  m_updateButton->setEnabled(m_calculator.canUpdate());
  m_deleteLastButton->setEnabled(!m_calculator.tapeEmpty());
  m_clearTapeButton->setEnabled(!m_calculator.tapeEmpty());
  refreshMenuStates();
  emit stateChanged();
}

void StandardPanel::afterUserAction() {
  refreshAll();
  if (m_display->isEnabled() && !m_display->hasFocus() && isVisible())
    m_display->setFocus(Qt::OtherFocusReason);
}

void StandardPanel::showEvent(QShowEvent* event) {
  CalculatorPanel::showEvent(event);
  // The window opens ready for typing.
  if (m_display->isEnabled()) m_display->setFocus(Qt::OtherFocusReason);
}

void StandardPanel::mousePressEvent(QMouseEvent* event) {
  // A click beside the tape ends the choice of an entry.
  if (event->button() == Qt::LeftButton && m_calculator.editButtonsShown()) {
    m_calculator.clickEntry(-1);
    afterUserAction();
  }
  CalculatorPanel::mousePressEvent(event);
}

}  // namespace qz
