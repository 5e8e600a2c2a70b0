#include "statistics/statistics_panel.h"

#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/calc_app.h"
#include "app/commands.h"
#include "numbers/real_format.h"
#include "platform/painter_canvas.h"
#include "platform/qt_text.h"
#include "report/report_job.h"
#include "statistics/select_rows_dialog.h"
#include "statistics/stat_grid_view.h"
#include "statistics/stat_results_view.h"
#include "statistics/statistics_calculator.h"
#include "statistics/trend_dialog.h"

namespace qz {

namespace {

// What our own copies carry under kStatCellsMimeType.
constexpr const char* kOwnCellsMark = "KELDORAN QZ";

QPushButton* makeButton(const QString& text, const QString& tip, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setToolTip(tip);
  button->setAutoDefault(false);
  return button;
}

Rgb rgb(const QColor& c) {
  return Rgb{static_cast<unsigned char>(c.red()), static_cast<unsigned char>(c.green()),
             static_cast<unsigned char>(c.blue())};
}

ResultsListStyle resultsStyle(const CalcApp& app) {
  ResultsListStyle style;
  style.textFont = app.appFonts[4].toFontSpec();
  style.greekFont = app.appFonts[6].toFontSpec();
  const QPalette colours = QApplication::palette();
  style.windowBackground = rgb(colours.color(QPalette::Base));
  style.windowText = rgb(colours.color(QPalette::Text));
  style.highlight = rgb(colours.color(QPalette::Highlight));
  return style;
}

}  // namespace

StatisticsPanel::StatisticsPanel(CalcApp& app, QWidget* parent)
    : CalculatorPanel(parent),
      m_app(app),
      m_calculator(std::make_unique<StatisticsCalculator>(app.settings(), app.messenger())) {
  buildLayout();
  showState();
}

StatisticsPanel::~StatisticsPanel() = default;

TrendDialog* StatisticsPanel::trendDialog() const { return qobject_cast<TrendDialog*>(m_trend.data()); }

void StatisticsPanel::buildLayout() {
  setFont(PainterCanvas::qtFont({"Arial", -13, 400}));

  // Left: the grid with its selection buttons and the count.
  auto* gridGroup = new QGroupBox(QStringLiteral("Tableau des valeurs "), this);
  m_selectButton = makeButton(QStringLiteral("Sélectionner"),
                              QStringLiteral("Sélectionner des lignes par leurs numéros"), gridGroup);
  m_deselectButton = makeButton(QStringLiteral("Dé&sélectionner"),
                                QStringLiteral("Annuler la sélection des cellules"), gridGroup);
  m_grid = new StatGridView(*m_calculator, gridGroup);
  m_grid->setToolTip(
      QStringLiteral("Cliquer une cellule pour la modifier ; Tab ou Entrée : cellule suivante"));
  m_count = new QLabel(gridGroup);
  m_count->setObjectName(QStringLiteral("count"));
  m_count->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  m_count->setAlignment(Qt::AlignCenter);
  m_count->setMinimumWidth(QFontMetrics(font()).horizontalAdvance(QStringLiteral("00000")) + 12);
  QFont countFont = font();
  countFont.setBold(true);
  m_count->setFont(countFont);

  auto* selectRow = new QHBoxLayout;
  selectRow->setSpacing(8);
  selectRow->addWidget(m_selectButton);
  selectRow->addWidget(m_deselectButton);
  selectRow->addStretch(1);
  auto* countRow = new QHBoxLayout;
  countRow->addStretch(1);
  countRow->addWidget(new QLabel(QStringLiteral("Nombre de coordonnées :"), gridGroup));
  countRow->addWidget(m_count);
  auto* gridColumn = new QVBoxLayout(gridGroup);
  gridColumn->setContentsMargins(10, 8, 10, 10);
  gridColumn->setSpacing(8);
  gridColumn->addLayout(selectRow);
  gridColumn->addWidget(m_grid, 1);
  gridColumn->addLayout(countRow);

  m_clearAllButton = makeButton(QStringLiteral("Effacer &tout"),
                                QStringLiteral("Effacer toutes les valeurs du tableau"), this);
  m_lineButton = makeButton(QStringLiteral("&Régression linéaire"),
                            QStringLiteral("Tracer la droite et les points"), this);
  m_calculateButton =
      makeButton(QStringLiteral("CA&LCULER"), QStringLiteral("Calculer les résultats statistiques"), this);
  m_calculateButton->setDefault(true);
  QFont strong = font();
  strong.setBold(true);
  m_calculateButton->setFont(strong);
  m_calculateButton->setMinimumWidth(110);
  auto* actions = new QHBoxLayout;
  actions->setSpacing(8);
  actions->addWidget(m_clearAllButton);
  actions->addWidget(m_lineButton);
  actions->addStretch(1);
  actions->addWidget(m_calculateButton);

  auto* left = new QVBoxLayout;
  left->setSpacing(10);
  left->addWidget(gridGroup, 1);
  left->addLayout(actions);

  // Right: the results list under its title.
  auto* title = new QLabel(QStringLiteral("- résultats statistiques -"), this);
  title->setAlignment(Qt::AlignCenter);
  title->setFont(strong);
  m_results = new StatResultsView(*m_calculator, resultsStyle(m_app), this);
  m_results->setToolTip(QStringLiteral("Cliquer un résultat pour le copier ou le placer en mémoire"));
  buildPredictions();
  auto* right = new QVBoxLayout;
  right->setSpacing(6);
  right->addWidget(title);
  right->addWidget(m_results, 1);
  right->addWidget(m_predictions);

  auto* root = new QHBoxLayout(this);
  root->setContentsMargins(12, 10, 12, 2);
  root->setSpacing(12);
  root->addLayout(left, 0);
  root->addLayout(right, 1);

  connect(m_grid, &StatGridView::changed, this, [this] {
    m_count->setText(cp1252ToQString(m_calculator->grid().countText()));
    m_results->refresh();
    showPredictions();
    refreshEnabling();
    emit stateChanged();
  });
  connect(m_grid, &StatGridView::commandKey, this, [this](int id) { command(id); });
  connect(m_results, &StatResultsView::lineClicked, this, [this] { emit stateChanged(); });
  connect(m_selectButton, &QPushButton::clicked, this, [this] { command(kCmdStatSelect); });
  connect(m_deselectButton, &QPushButton::clicked, this, [this] { command(kCmdStatDeselect); });
  connect(m_clearAllButton, &QPushButton::clicked, this, [this] { command(kCmdStatClearAll); });
  connect(m_calculateButton, &QPushButton::clicked, this, [this] { command(kCmdStatCalculate); });
  connect(m_lineButton, &QPushButton::clicked, this, [this] {
    command(m_calculator->lineButton() == LineButton::Henry ? kCmdStatHenry : kCmdStatRegression);
  });
}

void StatisticsPanel::buildPredictions() {
  // ŷ for a typed x and x̂ for a typed y, by the fit chosen in the trend dialog.
  m_predictions = new QWidget(this);
  auto* grid = new QGridLayout(m_predictions);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(6);
  const QString typed[2] = {QStringLiteral("x :"), QStringLiteral("y :")};
  const QString result[2] = {QStringLiteral("ŷ ="), QStringLiteral("x̂ =")};
  const QString names[2] = {QStringLiteral("predictX"), QStringLiteral("predictY")};
  const QString tips[2] = {
      QStringLiteral("Taper x : la courbe ajustée donne ŷ (mémoires : « Copier dans » prend ŷ)"),
      QStringLiteral("Taper y : la courbe ajustée donne x̂ (mémoires : « Copier dans » prend x̂)")};
  for (int field = 0; field < 2; ++field) {
    auto* edit = new QLineEdit(m_predictions);
    edit->setObjectName(names[field]);
    edit->setMaxLength(25);
    edit->setToolTip(tips[field]);
    auto* value = new QLabel(m_predictions);
    value->setObjectName(names[field] + QStringLiteral("Result"));
    value->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    value->setMinimumWidth(120);
    grid->addWidget(new QLabel(typed[field], m_predictions), field, 0);
    grid->addWidget(edit, field, 1);
    grid->addWidget(new QLabel(result[field], m_predictions), field, 2);
    grid->addWidget(value, field, 3);
    m_predictEdit[field] = edit;
    m_predictResult[field] = value;
    connect(edit, &QLineEdit::textEdited, this, [this, field] { typePrediction(field); });
  }
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);
}

void StatisticsPanel::typePrediction(int field) {
  QLineEdit* edit = m_predictEdit[field];
  const auto which = static_cast<PredictionField>(field);
  const int caret = edit->cursorPosition();
  const bool taken = m_calculator->typePrediction(which, qStringToCp1252(edit->text()));
  // The field shows the calculator's text: the typing rule's form, or the
  // text before a refused keystroke.
  const QString shown = cp1252ToQString(m_calculator->predictionText(which));
  if (edit->text() != shown) {
    edit->setText(shown);
    edit->setCursorPosition(std::min(taken ? caret : caret - 1, static_cast<int>(shown.size())));
  }
  showPredictions();
}

void StatisticsPanel::showPredictions() {
  const bool pairs = m_calculator->mode() == StatMode::Pairs;
  m_predictions->setVisible(pairs);
  for (int field = 0; field < 2; ++field)
    m_predictResult[field]->setText(
        cp1252ToQString(m_calculator->predictionResultText(static_cast<PredictionField>(field))));
}

int StatisticsPanel::focusedPrediction() const {
  for (int field = 0; field < 2; ++field)
    if (m_predictEdit[field]->hasFocus()) return field;
  return -1;
}

// ---- Section and shared commands ---------------------------------------------------

void StatisticsPanel::loadSection(const std::optional<std::string>& body) {
  m_calculator->loadSection(body);
  m_app.statisticsMode = static_cast<int>(m_calculator->mode());
  showState();
}

std::optional<std::string> StatisticsPanel::sectionBody() const { return m_calculator->sectionBody(); }

bool StatisticsPanel::commitFields() {
  // A value refused as the focus left the cell for this very leaving keeps
  // the window open; the previous value is back, so the next attempt goes.
  const bool refusedOnLeaving = m_grid->refusalPending();
  m_grid->clearRefusal();
  if (!m_calculator->grid().editorOpen()) return true;
  if (refusedOnLeaving) return false;
  const bool accepted = m_grid->commitEditor(false) != CommitResult::Refused;
  m_grid->clearRefusal();
  return accepted;
}

void StatisticsPanel::clearAll() { loadSection(std::nullopt); }

bool StatisticsPanel::memoryValue(std::string& valueText) const {
  if (const int field = focusedPrediction(); field >= 0) {
    const std::optional<double> result = m_calculator->predictionResult(static_cast<PredictionField>(field));
    if (!result) return false;
    valueText = exchangeText(*result);
    return true;
  }
  if (m_grid->editorFocused()) {
    std::string text = qStringToCp1252(m_grid->editor()->text());
    std::replace(text.begin(), text.end(), ',', '.');
    double value = 0.0;
    if (!parseReal(text, value)) return false;
    valueText = exchangeText(value);
    return true;
  }
  const std::optional<double> value = m_calculator->highlightedValue(m_app.decimalSeparator);
  if (!value) return false;
  valueText = exchangeText(*value);
  return true;
}

bool StatisticsPanel::useMemory(const std::string& valueText) {
  if (const int field = focusedPrediction(); field >= 0) {
    double typed = 0.0;
    if (!parseReal(valueText, typed)) return false;
    m_predictEdit[field]->setText(cp1252ToQString(FormatReal(typed, FormatMode::Free)));
    typePrediction(field);
    return true;
  }
  double value = 0.0;
  if (!m_grid->editorFocused() || !parseReal(valueText, value)) return false;
  if (!m_calculator->useMemoryValue(value)) return true;  // the grid's refusal was already heard
  m_grid->refresh();
  m_grid->editor()->setText(cp1252ToQString(m_calculator->grid().editorText()));
  m_grid->editor()->selectAll();
  showState();
  return true;
}

// ---- Menus ---------------------------------------------------------------------------

void StatisticsPanel::fillEditMenu(QMenu* edit) {
  m_undoAction = addCommandAction(edit, QStringLiteral("&Annuler"), kCmdUndo, QKeySequence::Undo);
  edit->addSeparator();
  addCommandAction(edit, QStringLiteral("&Copier"), kCmdCopy, QKeySequence::Copy);
  addCommandAction(edit, QStringLiteral("C&oller"), kCmdPaste, QKeySequence::Paste);
  edit->addSeparator();
  m_deleteAction = addCommandAction(edit, QStringLiteral("&Supprimer"), kCmdStatDelete, QKeySequence::Delete);
  refreshEnabling();
}

void StatisticsPanel::addOwnMenus(QMenuBar* bar, QMenu* before) {
  auto* menu = new QMenu(QStringLiteral("Mo&de"), bar);
  const char* texts[] = {"Valeurs &X", "Valeurs X avec N &répétitions",
                         "Valeurs X et valeurs &Y (corrélation)"};
  for (int i = 0; i < 3; ++i) {
    QAction* action = menu->addAction(QString::fromUtf8(texts[i]));
    action->setData(kCmdStatModeValues + i);
    action->setCheckable(true);
    m_modeActions[i] = action;
  }
  bar->insertMenu(before ? before->menuAction() : nullptr, menu);
  refreshEnabling();
}

void StatisticsPanel::aboutToShowMenus() { refreshEnabling(); }

void StatisticsPanel::tick() { refreshEnabling(); }

// ---- Commands --------------------------------------------------------------------------

bool StatisticsPanel::command(int id) {
  switch (id) {
    case kCmdStatCalculate:
      if (m_calculator->calculate()) m_results->scrollToTop();
      break;
    case kCmdStatClearAll:
      if (m_calculator->clearAll()) m_app.statisticsMode = static_cast<int>(m_calculator->mode());
      break;
    case kCmdStatModeValues:
    case kCmdStatModeFrequencies:
    case kCmdStatModePairs:
      chooseMode(id - kCmdStatModeValues);
      break;
    case kCmdStatHenry:
    case kCmdStatRegression:
      if (!m_calculator->lineButtonEnabled()) return false;
      openTrendDialog();
      break;
    case kCmdStatSelect:
      if (!m_calculator->canSelectRows()) return false;
      selectRows();
      break;
    case kCmdStatDeselect:
      m_calculator->grid().clearSelection();
      break;
    case kCmdStatDelete:
      m_calculator->grid().deleteSelection(m_grid->editorFocused());
      break;
    case kCmdUndo:
      // Ctrl+Z with nothing to undo does nothing, quietly.
      m_calculator->grid().undo();
      break;
    case kCmdCopy:
      copy();
      return true;
    case kCmdPaste:
      paste();
      break;
    default:
      return false;
  }
  showState();
  return true;
}

std::unique_ptr<ReportSource> StatisticsPanel::reportSource() { return statisticsReportSource(*m_calculator, true); }

bool StatisticsPanel::commandEnabled(int id) const {
  switch (id) {
    case kCmdUndo:
      return m_calculator->canUndo();
    case kCmdCopy:
    case kCmdPaste:
      return true;
    case kCmdStatDelete:
      return m_calculator->canDelete();
    default:
      return false;
  }
}

void StatisticsPanel::chooseMode(int mode) {
  if (m_calculator->chooseMode(static_cast<StatMode>(mode))) m_app.statisticsMode = mode;
}

void StatisticsPanel::copy() {
  const CopyOutcome outcome = m_calculator->copy(m_grid->editorFocused(), m_app.decimalSeparator);
  if (outcome.kind == CopyOutcome::Kind::EditorCopies) {
    m_grid->editor()->copy();
    return;
  }
  if (outcome.kind != CopyOutcome::Kind::Text) return;
  QClipboard* clipboard = QApplication::clipboard();
  if (!clipboard) return;
  auto* data = new QMimeData;
  data->setText(cp1252ToQString(outcome.text));
  if (outcome.ourCells) data->setData(QString::fromLatin1(kStatCellsMimeType), QByteArray(kOwnCellsMark));
  clipboard->setMimeData(data);
}

void StatisticsPanel::paste() {
  const QClipboard* clipboard = QApplication::clipboard();
  const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
  std::optional<std::string> text;
  bool ours = false;
  if (data && data->hasText()) {
    text = qStringToCp1252(data->text());
    ours = data->data(QString::fromLatin1(kStatCellsMimeType)) == QByteArray(kOwnCellsMark);
  }
  const bool editorFocused = m_grid->editorFocused();
  if (m_calculator->paste(text, ours, editorFocused) == PasteResult::IntoEditor) {
    // One number for the cell being edited: an ordinary paste of its text.
    QLineEdit* editor = m_grid->editor();
    const QString before = editor->text();
    editor->insert(data->text().trimmed());
    if (editor->text() != before && qStringToCp1252(editor->text()) != m_calculator->grid().editorText() &&
        !m_calculator->grid().setEditorText(qStringToCp1252(editor->text())))
      editor->setText(before);
  }
}

void StatisticsPanel::selectRows() {
  m_calculator->grid().closeEditor();
  auto* dialog = new SelectRowsDialog(m_calculator->mode(), m_calculator->table().count(),
                                      m_calculator->grid().selectionDialogStart(), m_app.messenger(), this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, &QDialog::accepted, this, [this, dialog] {
    const StatGrid::RowRangeChoice choice = dialog->choice();
    m_calculator->grid().selectRows(choice.from, choice.to, choice.option);
    showState();
  });
  dialog->open();
}

void StatisticsPanel::openTrendDialog() {
  m_calculator->grid().closeEditor();
  auto* dialog = new TrendDialog(m_calculator->diagramSeries(), this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  // A saved diagram goes, like the reports, to the exports folder by default.
  dialog->setSaveTarget(&m_app.messenger(), QString::fromStdString(m_app.defaultFolderPath(kExportFolder)));
  m_trend = dialog;
  if (m_calculator->mode() == StatMode::Pairs) dialog->offerFits(static_cast<int>(m_calculator->fit()));
  dialog->showFit(m_calculator->diagramSeries(), static_cast<int>(m_calculator->fit()),
                  m_calculator->trendSummary());
  connect(dialog, &TrendDialog::fitChosen, this, [this, dialog](int kind) {
    // A refusal has shown its message; the dialog goes back to the fit kept.
    m_calculator->chooseFit(static_cast<FitKind>(kind));
    dialog->showFit(m_calculator->diagramSeries(), static_cast<int>(m_calculator->fit()),
                    m_calculator->trendSummary());
    m_results->refresh();
    showPredictions();
  });
  connect(dialog, &QDialog::finished, this, [this] { update(); });
  connect(dialog, &TrendDialog::printRequested, this,
          [this, dialog] { emit reportRequested(static_cast<int>(ReportJob::PrintDiagram), dialog); });
  dialog->open();
}

// ---- Showing the state -------------------------------------------------------------------

void StatisticsPanel::showState() {
  m_grid->refresh();
  m_count->setText(cp1252ToQString(m_calculator->grid().countText()));
  m_results->refresh();
  showPredictions();
  refreshEnabling();
  emit stateChanged();
}

void StatisticsPanel::refreshEnabling() {
  m_selectButton->setEnabled(m_calculator->canSelectRows());
  m_deselectButton->setEnabled(m_calculator->canDeselect());
  switch (m_calculator->lineButton()) {
    case LineButton::None:
      m_lineButton->hide();
      break;
    case LineButton::Henry:
      m_lineButton->setText(QStringLiteral("Droite de &Henry"));
      m_lineButton->setToolTip(QStringLiteral("Tracer la droite de Henry sur l'échelle de probabilité"));
      m_lineButton->show();
      break;
    case LineButton::Regression:
      m_lineButton->setText(QStringLiteral("&Régression linéaire"));
      m_lineButton->setToolTip(QStringLiteral("Tracer la droite de régression et les points"));
      m_lineButton->show();
      break;
  }
  m_lineButton->setEnabled(m_calculator->lineButtonEnabled());
  if (m_undoAction) m_undoAction->setEnabled(m_calculator->canUndo());
  if (m_deleteAction) m_deleteAction->setEnabled(m_calculator->canDelete());
  for (int i = 0; i < 3; ++i)
    if (m_modeActions[i]) m_modeActions[i]->setChecked(static_cast<int>(m_calculator->mode()) == i);
}

void StatisticsPanel::showEvent(QShowEvent* event) {
  CalculatorPanel::showEvent(event);
  // "CA&LCULER" is the button Enter presses; the window made "&Quitter" its
  // default before this panel was shown.
  m_calculateButton->setDefault(true);
  m_grid->setFocus(Qt::OtherFocusReason);
}

}  // namespace qz
