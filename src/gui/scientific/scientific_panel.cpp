#include "scientific/scientific_panel.h"

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>

#include "app/calc_app.h"
#include "app/calculator_window.h"
#include "app/commands.h"
#include "numbers/real_format.h"
#include "platform/painter_canvas.h"
#include "platform/qt_text.h"
#include "scientific/field_widgets.h"
#include "scientific/result_box.h"
#include "scientific/results_list_view.h"
#include "scientific/scientific_calculator.h"
#include "scientific/scientific_state.h"

namespace qz {

namespace {

QPushButton* makeButton(const QString& text, const QString& tip, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setToolTip(tip);
  button->setAutoDefault(false);
  return button;
}

void setLineText(QLineEdit* field, const QString& text, int caret) {
  if (field->text() != text) field->setText(text);
  field->setCursorPosition(std::clamp(caret, 0, static_cast<int>(text.size())));
}

}  // namespace

ScientificPanel::ScientificPanel(CalcApp& app, ScientificCalculator& calculator, QWidget* parent)
    : CalculatorPanel(parent), m_app(app), m_calculator(&calculator), m_focus(ScientificField::None) {
  buildLayout();
  connectFields();
  showState();
}

ScientificPanel::ScientificPanel(CalcApp& app, QWidget* parent)
    : CalculatorPanel(parent),
      m_app(app),
      m_ownCalculator(std::make_unique<ScientificCalculator>(app.messenger())),
      m_calculator(m_ownCalculator.get()),
      m_focus(ScientificField::None) {
  buildLayout();
  connectFields();
  showState();
}

ScientificPanel::~ScientificPanel() = default;

void ScientificPanel::buildLayout() {
  setFont(PainterCanvas::qtFont({"Arial", -13, 400}));
  const QFont fieldFont = PainterCanvas::qtFont({"Courier New", -16, 400});

  // Top: the expression with its check, and the angle unit.
  auto* expressionGroup = new QGroupBox(QStringLiteral("Expression littérale y = f(x) "), this);
  m_expression =
      new FieldLineEdit(LetterCase::Lower, static_cast<int>(kMaxExpressionLength), expressionGroup);
  m_expression->setObjectName(QStringLiteral("expression"));
  m_expression->setFont(fieldFont);
  m_expression->setMinimumHeight(30);
  m_expression->setToolTip(QStringLiteral(
      "Par exemple : y=a*sin(x)+b  (opérateurs + - * / ^, parenthèses, fonctions, constantes)"));
  m_checkButton = makeButton(QStringLiteral("Co&ntrôler"),
                             QStringLiteral("Contrôler l'expression et les constantes"), expressionGroup);
  auto* expressionRow = new QHBoxLayout(expressionGroup);
  expressionRow->setContentsMargins(10, 8, 10, 10);
  expressionRow->setSpacing(8);
  expressionRow->addWidget(m_expression, 1);
  expressionRow->addWidget(m_checkButton);

  auto* angleGroup = new QGroupBox(QStringLiteral("Angles"), this);
  m_radians = new QRadioButton(QStringLiteral(" radians"), angleGroup);
  m_degrees = new QRadioButton(QStringLiteral(" degrés"), angleGroup);
  auto* angles = new QButtonGroup(this);
  angles->addButton(m_radians, kCmdRadians);
  angles->addButton(m_degrees, kCmdDegrees);
  auto* angleColumn = new QVBoxLayout(angleGroup);
  angleColumn->setContentsMargins(10, 4, 14, 6);
  angleColumn->setSpacing(2);
  angleColumn->addWidget(m_radians);
  angleColumn->addWidget(m_degrees);

  auto* top = new QHBoxLayout;
  top->setSpacing(10);
  top->addWidget(expressionGroup, 1);
  top->addWidget(angleGroup);

  // Left: constants, then x and y.
  auto* constantsGroup = new QGroupBox(QStringLiteral("Constantes (facultatives) "), this);
  m_constants = new ConstantsEdit(constantsGroup);
  m_constants->setObjectName(QStringLiteral("constants"));
  m_constants->setFont(fieldFont);
  m_constants->setToolTip(
      QStringLiteral("Une constante par ligne, par exemple a=2.5 (ou séparées par « ; »)"));
  auto* constantsColumn = new QVBoxLayout(constantsGroup);
  constantsColumn->setContentsMargins(10, 8, 10, 10);
  constantsColumn->addWidget(m_constants);

  auto* computeGroup = new QGroupBox(this);
  auto* xLabel = new QLabel(QStringLiteral("x ="), computeGroup);
  auto* yLabel = new QLabel(QStringLiteral("y ="), computeGroup);
  for (QLabel* label : {xLabel, yLabel}) label->setFont(PainterCanvas::qtFont({"Arial", -15, 700}));
  m_x = new FieldLineEdit(LetterCase::Upper, static_cast<int>(kMaxXLength), computeGroup);
  m_x->setObjectName(QStringLiteral("x"));
  m_x->setFont(fieldFont);
  m_x->setMinimumHeight(30);
  m_x->setToolTip(QStringLiteral("Valeur de x (Entrée : calculer y)"));
  xLabel->setBuddy(m_x);
  m_clearXButton =
      makeButton(QStringLiteral("Effacer &x"), QStringLiteral("Vider la valeur de x"), computeGroup);
  m_result = new ResultBox(computeGroup);
  m_result->setMinimumHeight(30);
  m_calculateButton = makeButton(QStringLiteral("Calculer &y"),
                                 QStringLiteral("Calculer y pour cette valeur de x"), computeGroup);
  m_calculateButton->setDefault(true);
  auto* compute = new QGridLayout(computeGroup);
  compute->setContentsMargins(10, 10, 10, 10);
  compute->setHorizontalSpacing(8);
  compute->setVerticalSpacing(10);
  compute->addWidget(xLabel, 0, 0);
  compute->addWidget(m_x, 0, 1);
  compute->addWidget(m_clearXButton, 0, 2);
  compute->addWidget(yLabel, 1, 0);
  compute->addWidget(m_result, 1, 1);
  compute->addWidget(m_calculateButton, 1, 2);
  compute->setColumnStretch(1, 1);
  const int buttonWidth = std::max(m_clearXButton->sizeHint().width(), m_calculateButton->sizeHint().width());
  m_clearXButton->setMinimumWidth(buttonWidth);
  m_calculateButton->setMinimumWidth(buttonWidth);

  m_clearAllButton = makeButton(QStringLiteral("Effacer &tout"),
                                QStringLiteral("Effacer l'expression, les constantes, x et la liste"), this);
  auto* clearAllRow = new QHBoxLayout;
  clearAllRow->addStretch(1);
  clearAllRow->addWidget(m_clearAllButton);

  auto* left = new QVBoxLayout;
  left->setSpacing(10);
  left->addWidget(constantsGroup, 1);
  left->addWidget(computeGroup);
  left->addLayout(clearAllRow);

  // Right: the results list and its buttons.
  auto* listGroup = new QGroupBox(QStringLiteral("Liste des résultats x,y "), this);
  m_list = new ResultsListView(*m_calculator, listGroup);
  m_clearListButton = makeButton(QStringLiteral("Effacer toute la &liste"),
                                 QStringLiteral("Vider la liste des résultats"), listGroup);
  m_clearLastButton = makeButton(QStringLiteral("Efface&r dernier résultat"),
                                 QStringLiteral("Retirer le dernier couple x,y de la liste"), listGroup);
  auto* listButtons = new QHBoxLayout;
  listButtons->setSpacing(8);
  listButtons->addWidget(m_clearListButton);
  listButtons->addWidget(m_clearLastButton);
  listButtons->addStretch(1);
  auto* listColumn = new QVBoxLayout(listGroup);
  listColumn->setContentsMargins(10, 8, 10, 10);
  listColumn->setSpacing(8);
  listColumn->addWidget(m_list, 1);
  listColumn->addLayout(listButtons);

  auto* middle = new QHBoxLayout;
  middle->setSpacing(10);
  middle->addLayout(left, 5);
  middle->addWidget(listGroup, 6);

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(12, 10, 12, 2);
  root->setSpacing(8);
  root->addLayout(top);
  root->addLayout(middle, 1);

  // The order of the keyboard focus follows the work: expression, angles,
  // check, constants, x, calculation, then the list and the clearing.
  QWidget::setTabOrder(m_expression, m_checkButton);
  QWidget::setTabOrder(m_checkButton, m_radians);
  QWidget::setTabOrder(m_radians, m_degrees);
  QWidget::setTabOrder(m_degrees, m_constants);
  QWidget::setTabOrder(m_constants, m_x);
  QWidget::setTabOrder(m_x, m_calculateButton);
  QWidget::setTabOrder(m_calculateButton, m_clearXButton);
  QWidget::setTabOrder(m_clearXButton, m_clearListButton);
  QWidget::setTabOrder(m_clearListButton, m_clearLastButton);
  QWidget::setTabOrder(m_clearLastButton, m_clearAllButton);

  // Any click outside the result box takes its selection away.
  for (QWidget* child : findChildren<QWidget*>())
    if (child != m_result) child->installEventFilter(this);
}

void ScientificPanel::connectFields() {
  connect(m_expression, &QLineEdit::textEdited, this, &ScientificPanel::expressionEdited);
  connect(m_constants, &QPlainTextEdit::textChanged, this, &ScientificPanel::constantsEdited);
  connect(m_x, &QLineEdit::textEdited, this, &ScientificPanel::xEdited);

  const std::pair<ScientificField, QWidget*> fields[] = {{ScientificField::Expression, m_expression},
                                                         {ScientificField::Constants, m_constants},
                                                         {ScientificField::X, m_x}};
  for (const auto& [field, widget] : fields) {
    if (auto* line = qobject_cast<FieldLineEdit*>(widget)) {
      connect(line, &FieldLineEdit::controlKey, this, &ScientificPanel::controlKey);
      connect(line, &FieldLineEdit::cancelRequested, this, &ScientificPanel::cancelWindow);
      connect(line, &FieldLineEdit::focusEntered, this, [this, field] { fieldEntered(field); });
      connect(line, &FieldLineEdit::focusLeft, this, [this, field] { fieldLeft(field); });
    }
  }
  connect(m_constants, &ConstantsEdit::controlKey, this, &ScientificPanel::controlKey);
  connect(m_constants, &ConstantsEdit::focusEntered, this,
          [this] { fieldEntered(ScientificField::Constants); });
  connect(m_constants, &ConstantsEdit::focusLeft, this, [this] { fieldLeft(ScientificField::Constants); });

  connect(m_radians, &QRadioButton::clicked, this, [this] { command(kCmdRadians); });
  connect(m_degrees, &QRadioButton::clicked, this, [this] { command(kCmdDegrees); });
  connect(m_checkButton, &QPushButton::clicked, this, [this] { command(kCmdCheck); });
  connect(m_clearXButton, &QPushButton::clicked, this, [this] { command(kCmdClearX); });
  connect(m_calculateButton, &QPushButton::clicked, this, [this] { command(kCmdCalculate); });
  connect(m_clearListButton, &QPushButton::clicked, this, [this] { command(kCmdClearListButton); });
  connect(m_clearLastButton, &QPushButton::clicked, this, [this] { command(kCmdClearLastResult); });
  connect(m_clearAllButton, &QPushButton::clicked, this, [this] { command(kCmdClearCalculator); });
  connect(m_result, &ResultBox::clicked, this, [this] {
    m_calculator->setResultSelected(true);
    showState();
  });
}

// ---- Document section -----------------------------------------------------------

void ScientificPanel::loadSection(const std::optional<std::string>& body) {
  ScientificState state;
  if (body)
    readScientificSection(*body, state);
  else
    resetScientificState(state);
  // The window reads its section when it opens (x empty), and again after a
  // document was opened (x kept).
  if (!m_opened)
    m_calculator->open(std::move(state));
  else
    m_calculator->loadState(std::move(state));
  m_opened = true;
  showState();
  m_list->showEnd();
}

std::optional<std::string> ScientificPanel::sectionBody() const {
  if (!scientificSectionWanted(m_calculator->state())) return std::nullopt;
  return writeScientificSection(m_calculator->state());
}

void ScientificPanel::clearAll() {
  m_calculator->clearCalculator();
  afterXCheck();
  showState();
}

// ---- Memories -------------------------------------------------------------------

bool ScientificPanel::memoryValue(std::string& valueText) const {
  // Taking the value checks the x field (its message, the valid-entry flag)
  // and takes the result box's selection away: the panel changes as it answers.
  auto* self = const_cast<ScientificPanel*>(this);
  const std::optional<std::string> text = m_calculator->memorySourceText(m_focus);
  self->afterXCheck();
  self->showState();
  if (!text) return false;
  valueText = *text;
  return true;
}

bool ScientificPanel::useMemory(const std::string& valueText) {
  double value = 0.0;
  if (!parseReal(valueText, value)) return false;
  const std::optional<FieldUpdate> update = m_calculator->useMemory(value, m_focus, fieldSelection(m_focus));
  if (update) showUpdate(*update);
  showState();
  // A refusal by the field was already heard.
  return true;
}

// ---- Menus ------------------------------------------------------------------------

void ScientificPanel::fillEditMenu(QMenu* edit) {
  m_undoAction = addCommandAction(edit, QStringLiteral("&Annuler"), kCmdUndo, QKeySequence::Undo);
  edit->addSeparator();
  addCommandAction(edit, QStringLiteral("&Copier"), kCmdCopy, QKeySequence::Copy);
  m_copyListAction = addCommandAction(edit, QStringLiteral("&Copier la liste x,y"), kCmdCopyList);
  addCommandAction(edit, QStringLiteral("C&oller"), kCmdPaste, QKeySequence::Paste);
  edit->addSeparator();
  m_clearListAction = addCommandAction(edit, QStringLiteral("&Effacer la liste"), kCmdClearList);
  addCommandAction(edit, QStringLiteral("&Rafraîchir"), kCmdRefresh);
  refreshEnabling();
}

void ScientificPanel::aboutToShowMenus() { refreshEnabling(); }

void ScientificPanel::tick() {
  if (m_undoAction) m_undoAction->setEnabled(m_calculator->canUndo());
}

// ---- Commands -----------------------------------------------------------------------

bool ScientificPanel::command(int id) {
  switch (id) {
    case kCmdCalculate:
      calculate();
      return true;
    case kCmdCheck:
      m_calculator->check();
      break;
    case kCmdClearX:
      m_calculator->clearX();
      afterXCheck();
      m_x->setFocus(Qt::OtherFocusReason);
      break;
    case kCmdClearListButton:
    case kCmdClearList:
      m_calculator->clearList();
      break;
    case kCmdClearLastResult:
      m_calculator->clearLastResult();
      break;
    case kCmdClearCalculator:
      m_calculator->clearAll();
      afterXCheck();
      break;
    case kCmdRadians:
      m_calculator->setAngleUnit(AngleUnit::Radians);
      break;
    case kCmdDegrees:
      m_calculator->setAngleUnit(AngleUnit::Degrees);
      break;
    case kCmdUndo:
      // Ctrl+Z with nothing to undo does nothing, quietly.
      m_calculator->undo();
      break;
    case kCmdCopy:
      copy();
      return true;
    case kCmdCopyList:
      copyList();
      return true;
    case kCmdPaste:
      paste();
      break;
    case kCmdRefresh:
      showState();
      m_list->refresh();
      update();
      return true;
    default:
      return false;
  }
  showState();
  return true;
}

std::unique_ptr<ReportSource> ScientificPanel::reportSource() { return scientificReportSource(m_calculator->state()); }

bool ScientificPanel::commandEnabled(int id) const {
  switch (id) {
    case kCmdUndo:
      return m_calculator->canUndo();
    case kCmdCopyList:
      return m_calculator->canCopyList();
    case kCmdClearList:
      return m_calculator->canClearList();
    case kCmdCopy:
    case kCmdPaste:
    case kCmdRefresh:
      return true;
    default:
      return false;
  }
}

void ScientificPanel::calculate() {
  const bool appended = m_calculator->calculate();
  afterXCheck();
  showState();
  if (appended) m_list->showEnd();
}

void ScientificPanel::afterXCheck() {
  // An empty x field holds no refused value: nothing keeps the window open.
  if (m_calculator->xText().empty()) {
    double unused = 0.0;
    m_calculator->checkX(unused);
  }
  m_app.validEntry = m_calculator->ready();
  if (!m_app.validEntry && isVisible()) {
    // The refused value is to be corrected where it was typed.
    m_x->setFocus(Qt::OtherFocusReason);
    m_x->selectAll();
  }
}

// ---- Typing in the fields -----------------------------------------------------------

void ScientificPanel::expressionEdited(const QString& text) {
  if (m_showing) return;
  const int caret = m_expression->cursorPosition();
  const bool accepted = m_calculator->editExpression(qStringToCp1252(text));
  m_showing = true;
  // A refused keystroke is taken back, the caret one place back with it.
  setLineText(m_expression, cp1252ToQString(m_calculator->expression()), accepted ? caret : caret - 1);
  m_showing = false;
  showState();
}

void ScientificPanel::constantsEdited() {
  if (m_showing) return;
  const int caret = m_constants->textCursor().position();
  const bool accepted = m_calculator->editConstants(qStringToCp1252(m_constants->toPlainText()));
  m_showing = true;
  m_constants->showText(constantsForView(m_calculator->constants()), accepted ? caret : caret - 1);
  m_showing = false;
  showState();
}

void ScientificPanel::xEdited(const QString& text) {
  if (m_showing) return;
  const int caret = m_x->cursorPosition();
  const bool accepted = m_calculator->editX(qStringToCp1252(text));
  m_showing = true;
  setLineText(m_x, cp1252ToQString(m_calculator->xText()), accepted ? caret : caret - 1);
  m_showing = false;
  showState();
}

void ScientificPanel::controlKey(char letter) {
  switch (letter) {
    case 'C':
      command(kCmdCopy);
      break;
    case 'V':
      command(kCmdPaste);
      break;
    case 'O':
      forwardToWindow(kCmdOpen);
      break;
    case 'S':
      forwardToWindow(kCmdSave);
      break;
    case 'P':
      if (m_calculator->canPrint()) forwardToWindow(kCmdPrint);
      break;
    case 'Z':
      command(kCmdUndo);
      break;
    default:
      break;  // the fields' own redo has nothing to redo
  }
}

void ScientificPanel::cancelWindow() {
  // "Annuler" takes nothing from the fields: leaving x on the way out checks nothing.
  auto* dialog = qobject_cast<QDialog*>(window());
  if (!dialog) return;
  m_cancelling = true;
  dialog->reject();
  m_cancelling = false;
}

void ScientificPanel::fieldEntered(ScientificField field) {
  m_focus = field;
  if (field == ScientificField::Expression && m_caretToEnd) {
    m_caretToEnd = false;
    m_expression->end(false);
  }
}

void ScientificPanel::fieldLeft(ScientificField field) {
  if (m_focus == field) m_focus = ScientificField::None;
  switch (field) {
    case ScientificField::Expression:
      m_calculator->leaveExpression();
      break;
    case ScientificField::Constants:
      m_calculator->leaveConstants();
      break;
    case ScientificField::X: {
      // While a refused x value is pending, leaving the field checks it again,
      // so that the value corrected here lets the window go. Leaving for
      // "Annuler", for a button that empties x or for "Calculer &y" (which
      // checks x itself) checks nothing.
      if (m_app.validEntry || m_cancelling) break;
      const auto* next = qobject_cast<const QPushButton*>(QApplication::focusWidget());
      if (next && (next == m_clearXButton || next == m_clearAllButton || next == m_calculateButton ||
                   next->text() == QLatin1String("Annuler")))
        break;
      double unused = 0.0;
      if (m_calculator->checkX(unused) != XFieldStatus::Invalid) {
        m_app.validEntry = true;
      } else {
        m_app.validEntry = false;
        QTimer::singleShot(0, m_x, [x = m_x] {
          x->setFocus(Qt::OtherFocusReason);
          x->selectAll();
        });
      }
      break;
    }
    case ScientificField::None:
      break;
  }
  showState();
}

// ---- Clipboard ----------------------------------------------------------------------

TextSelection ScientificPanel::fieldSelection(ScientificField field) const {
  switch (field) {
    case ScientificField::Expression:
    case ScientificField::X: {
      const FieldLineEdit* line = field == ScientificField::X ? m_x : m_expression;
      if (!line->hasSelectedText()) return {line->cursorPosition(), line->cursorPosition()};
      const int start = line->selectionStart();
      return {start, start + static_cast<int>(line->selectedText().size())};
    }
    case ScientificField::Constants: {
      int start = 0;
      int end = 0;
      m_constants->viewSelection(start, end);
      const std::string& stored = m_calculator->constants();
      return {storedOffset(stored, start), storedOffset(stored, end)};
    }
    case ScientificField::None:
      break;
  }
  return {};
}

void ScientificPanel::copy() {
  QString selection;
  if (m_focus == ScientificField::Expression) selection = m_expression->selectedText();
  if (m_focus == ScientificField::X) selection = m_x->selectedText();
  if (m_focus == ScientificField::Constants)
    selection =
        m_constants->textCursor().selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  QClipboard* clipboard = QApplication::clipboard();
  if (!clipboard) {
    m_calculator->reportClipboardFailure();
    return;
  }
  clipboard->setText(cp1252ToQString(m_calculator->copyText(m_focus, qStringToCp1252(selection))));
}

void ScientificPanel::copyList() {
  QClipboard* clipboard = QApplication::clipboard();
  if (!clipboard) {
    m_calculator->reportClipboardFailure();
    return;
  }
  clipboard->setText(cp1252ToQString(m_calculator->listCopyText()));
}

void ScientificPanel::paste() {
  QClipboard* clipboard = QApplication::clipboard();
  if (!clipboard) {
    m_calculator->reportClipboardFailure();
    return;
  }
  const ScientificField target = ScientificCalculator::pasteTarget(m_focus);
  QString text = clipboard->text();
  // A value or a formula copied from elsewhere often comes with a line end.
  if (target != ScientificField::Constants) text = text.trimmed();
  // The x field takes a paste over all of its text unless it has the focus.
  const TextSelection selection = target == m_focus ? fieldSelection(target) : TextSelection{};
  if (const std::optional<FieldUpdate> update =
          m_calculator->paste(m_focus, qStringToCp1252(text), selection))
    showUpdate(*update);
}

void ScientificPanel::showUpdate(const FieldUpdate& update) {
  m_showing = true;
  switch (update.field) {
    case ScientificField::Expression:
      setLineText(m_expression, cp1252ToQString(update.text), update.caret);
      break;
    case ScientificField::Constants:
      m_constants->showText(constantsForView(update.text), viewPosition(update.text, update.caret));
      break;
    case ScientificField::X:
      setLineText(m_x, cp1252ToQString(update.text), update.caret);
      break;
    case ScientificField::None:
      break;
  }
  m_showing = false;
}

void ScientificPanel::forwardToWindow(int id) {
  if (auto* window = qobject_cast<CalculatorWindow*>(this->window())) window->runCommand(id);
}

// ---- Showing the state -------------------------------------------------------------

void ScientificPanel::showFieldTexts() {
  m_showing = true;
  const QString expression = cp1252ToQString(m_calculator->expression());
  if (m_expression->text() != expression)
    setLineText(m_expression, expression, static_cast<int>(expression.size()));
  const QString constants = constantsForView(m_calculator->constants());
  if (m_constants->toPlainText() != constants)
    m_constants->showText(constants,
                          std::min(m_constants->textCursor().position(), static_cast<int>(constants.size())));
  const QString x = cp1252ToQString(m_calculator->xText());
  if (m_x->text() != x) setLineText(m_x, x, static_cast<int>(x.size()));
  m_showing = false;
}

void ScientificPanel::showState() {
  showFieldTexts();
  m_radians->setChecked(m_calculator->angleUnit() == AngleUnit::Radians);
  m_degrees->setChecked(m_calculator->angleUnit() == AngleUnit::Degrees);
  m_result->setContent(cp1252ToQString(m_calculator->resultBoxText()), m_calculator->resultSelected());
  m_list->refresh();
  refreshEnabling();
  emit stateChanged();
}

void ScientificPanel::refreshEnabling() {
  m_checkButton->setEnabled(m_calculator->canCheck());
  m_clearAllButton->setEnabled(m_calculator->canClearAll());
  // The list buttons follow the menu items that do the same.
  m_clearListButton->setEnabled(m_calculator->canClearList());
  m_clearLastButton->setEnabled(m_calculator->canClearList());
  if (m_undoAction) m_undoAction->setEnabled(m_calculator->canUndo());
  if (m_copyListAction) m_copyListAction->setEnabled(m_calculator->canCopyList());
  if (m_clearListAction) m_clearListAction->setEnabled(m_calculator->canClearList());
}

void ScientificPanel::deselectResult() {
  if (!m_calculator->resultSelected()) return;
  m_calculator->setResultSelected(false);
  m_result->setContent(cp1252ToQString(m_calculator->resultBoxText()), false);
}

bool ScientificPanel::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) deselectResult();
  return CalculatorPanel::eventFilter(watched, event);
}

void ScientificPanel::mousePressEvent(QMouseEvent* event) {
  deselectResult();
  CalculatorPanel::mousePressEvent(event);
}

void ScientificPanel::showEvent(QShowEvent* event) {
  CalculatorPanel::showEvent(event);
  // "Calculer &y" is the button Enter presses; the window made "&Quitter" its
  // default before this panel was shown.
  m_calculateButton->setDefault(true);
  // The window opens ready for typing the expression, the caret at its end
  // (the dialog's own first focus would select the whole text).
  m_caretToEnd = true;
  m_expression->setFocus(Qt::OtherFocusReason);
}

}  // namespace qz
