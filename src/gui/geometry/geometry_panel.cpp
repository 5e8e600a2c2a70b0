#include "geometry/geometry_panel.h"

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "app/calc_app.h"
#include "app/commands.h"
#include "geometry/figure_view.h"
#include "geometry/geometry_model.h"
#include "geometry/known_data_view.h"
#include "geometry/result_view.h"
#include "numbers/messages.h"
#include "numbers/real_format.h"
#include "platform/painter_canvas.h"
#include "platform/places.h"
#include "platform/qt_text.h"

namespace qz {

namespace {

// Figure 31 has no perimeter: its legend leaves the P out.
constexpr int kFigureWithoutPerimeter = 31;

QPushButton* makeButton(const QString& text, const QString& tip, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setToolTip(tip);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

std::string geometryDataFolder() {
  return shippedDataFolder(QCoreApplication::applicationDirPath().toStdString());
}

GeometryPanel::GeometryPanel(CalcApp& app, GeometryModel& model, QWidget* parent)
    : GeometryPanel(app, &model, nullptr, parent) {}

GeometryPanel::GeometryPanel(CalcApp& app, QWidget* parent)
    : GeometryPanel(app, nullptr, std::make_unique<GeometryModel>(geometryDataFolder(), app.messenger()),
                    parent) {}

GeometryPanel::GeometryPanel(CalcApp& app, GeometryModel* model, std::unique_ptr<GeometryModel> own,
                             QWidget* parent)
    : CalculatorPanel(parent), m_app(app), m_ownModel(std::move(own)), m_model(model ? *model : *m_ownModel) {
  buildLayout();
}

GeometryPanel::~GeometryPanel() = default;

void GeometryPanel::buildLayout() {
  setFont(PainterCanvas::qtFont({"Arial", -13, 400}));

  // The choice of figure.
  auto* figureGroup = new QGroupBox(QStringLiteral("Figure géométrique "), this);
  m_plane = new QRadioButton(QStringLiteral(" 2D"), figureGroup);
  m_solid = new QRadioButton(QStringLiteral(" 3D"), figureGroup);
  m_plane->setToolTip(QStringLiteral("Figures planes"));
  m_solid->setToolTip(QStringLiteral("Solides"));
  auto* dimensions = new QButtonGroup(figureGroup);
  dimensions->addButton(m_plane, kDimensionPlane);
  dimensions->addButton(m_solid, kDimensionSolid);
  m_figureList = new QComboBox(figureGroup);
  m_figureList->setObjectName(QStringLiteral("figureList"));
  m_figureList->setMaxVisibleItems(30);
  m_figureList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  m_figureList->setMinimumContentsLength(18);
  m_subList = new QComboBox(figureGroup);
  m_subList->setObjectName(QStringLiteral("subFigureList"));
  m_subList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  m_subList->setMinimumContentsLength(18);
  auto* figureGrid = new QGridLayout(figureGroup);
  figureGrid->setContentsMargins(10, 8, 10, 8);
  figureGrid->setHorizontalSpacing(10);
  figureGrid->addWidget(m_plane, 0, 0);
  figureGrid->addWidget(m_figureList, 0, 1);
  figureGrid->addWidget(m_solid, 1, 0);
  figureGrid->addWidget(m_subList, 1, 1);
  figureGrid->setColumnStretch(1, 1);

  // Buttons and the value picked off the picture.
  m_clear =
      makeButton(QStringLiteral("Efface&r"), QStringLiteral("Effacer les données de cette figure"), this);
  m_calculate = makeButton(QStringLiteral("CA&LCULER"), QStringLiteral("Calculer la figure"), this);
  m_calculate->setDefault(true);
  QFont strong = font();
  strong.setBold(true);
  m_calculate->setFont(strong);
  m_calculate->setMinimumHeight(34);
  auto* resultGroup = new QGroupBox(QStringLiteral("Donnée calculée "), this);
  m_result = new ResultView(m_model, resultGroup);
  m_approximate = new QLabel(resultGroup);
  m_approximate->setAlignment(Qt::AlignCenter);
  m_approximate->setAutoFillBackground(true);
  auto* resultColumn = new QVBoxLayout(resultGroup);
  resultColumn->setContentsMargins(8, 8, 8, 8);
  resultColumn->setSpacing(4);
  resultColumn->addWidget(m_result);
  resultColumn->addWidget(m_approximate);
  auto* buttonsColumn = new QVBoxLayout;
  buttonsColumn->setSpacing(10);
  buttonsColumn->addWidget(m_clear);
  buttonsColumn->addWidget(m_calculate);
  buttonsColumn->addSpacing(8);
  buttonsColumn->addWidget(resultGroup);
  buttonsColumn->addStretch(1);

  // The known data.
  auto* knownGroup = new QGroupBox(QStringLiteral("Données connues "), this);
  m_angles = new QLabel(QStringLiteral("- angles en degrés -"), knownGroup);
  m_angles->setAlignment(Qt::AlignCenter);
  QPalette blue = m_angles->palette();
  blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
  m_angles->setPalette(blue);
  m_grid = new KnownDataView(m_model, knownGroup);
  auto* knownColumn = new QVBoxLayout(knownGroup);
  knownColumn->setContentsMargins(8, 6, 8, 8);
  knownColumn->setSpacing(4);
  knownColumn->addWidget(m_angles);
  knownColumn->addWidget(m_grid, 1);
  // The note keeps its place when hidden, so the grid does not jump.
  QSizePolicy keep = m_angles->sizePolicy();
  keep.setRetainSizeWhenHidden(true);
  m_angles->setSizePolicy(keep);

  auto* lower = new QHBoxLayout;
  lower->setSpacing(10);
  lower->addLayout(buttonsColumn, 0);
  lower->addWidget(knownGroup, 1);
  auto* left = new QVBoxLayout;
  left->setSpacing(10);
  left->addWidget(figureGroup);
  left->addLayout(lower, 1);

  // The picture, large, with its legend.
  m_picture = new FigureView(m_model, this);
  m_legend = new QLabel(QStringLiteral("P = Périmètre   S = Surface   V = Volume"), this);
  m_legendNoPerimeter = new QLabel(QStringLiteral("S = Surface   V = Volume"), this);
  m_legend->setAlignment(Qt::AlignCenter);
  m_legendNoPerimeter->setAlignment(Qt::AlignCenter);
  auto* right = new QVBoxLayout;
  right->setSpacing(4);
  right->addWidget(m_picture, 1);
  right->addWidget(m_legend);
  right->addWidget(m_legendNoPerimeter);

  auto* whole = new QHBoxLayout(this);
  whole->setContentsMargins(8, 8, 8, 4);
  whole->setSpacing(12);
  whole->addLayout(left, 0);
  whole->addLayout(right, 1);

  connect(dimensions, &QButtonGroup::idClicked, this, [this](int id) { chooseDimension(id); });
  connect(m_figureList, &QComboBox::currentIndexChanged, this, [this](int i) { chooseFigure(i); });
  connect(m_subList, &QComboBox::currentIndexChanged, this, [this](int i) { chooseSubFigure(i); });
  connect(m_calculate, &QPushButton::clicked, this, [this] { command(kCmdGeoCalculate); });
  connect(m_clear, &QPushButton::clicked, this, [this] { command(kCmdGeoClear); });
  connect(m_picture, &FigureView::labelClicked, this, [this](int index) { clickVariable(index); });
  connect(m_grid, &KnownDataView::rowClicked, this, [this](int row) { rowClicked(row); });
  connect(m_picture, &FigureView::takeAsDatumRequested, this, [this](int index) { takeAsDatum(index); });
  connect(m_grid, &KnownDataView::removeRequested, this, [this](int row) { removeRow(row); });
  connect(m_grid->editor(), &RowEditor::escaped, this, [this] {
    closeEditor();
    m_grid->setFocus(Qt::OtherFocusReason);
    showState();
  });
  connect(m_result, &ResultView::clicked, this, [this] { resultClicked(); });
  connect(m_grid->editor(), &QLineEdit::textEdited, this, [this](const QString& t) { editorTyped(t); });
  connect(m_grid->editor(), &RowEditor::left, this, [this] { editorLeft(); });
}

// ---- Document ---------------------------------------------------------------

void GeometryPanel::loadSection(const std::optional<std::string>& body) {
  m_grid->hideEditor();
  m_model.readSection(body);
  const bool loaded = m_model.load();
  afterLoad(loaded);
  // Without its catalogue the calculator has nothing to show: after the
  // loader's message its window goes, as cancelled (no data is touched).
  if (!loaded) {
    QTimer::singleShot(0, this, [this] {
      if (auto* dialog = qobject_cast<QDialog*>(window())) dialog->reject();
    });
  }
}

std::optional<std::string> GeometryPanel::sectionBody() const { return m_model.sectionBody(); }

bool GeometryPanel::commitFields() {
  if (!m_grid->editorOpen()) return m_app.validEntry;
  if (!commitEditor()) return false;
  m_grid->hideEditor();
  return true;
}

void GeometryPanel::clearAll() {
  m_grid->hideEditor();
  m_model.clearAll();
  m_app.validEntry = true;
  afterLoad(m_model.loaded());
}

void GeometryPanel::afterLoad(bool loaded) {
  (void)loaded;
  fillFigureList();
  fillSubFigureList();
  showState();
}

// ---- Showing the state ------------------------------------------------------

void GeometryPanel::fillFigureList() {
  m_busy = true;
  m_plane->setChecked(m_model.dimension() == kDimensionPlane);
  m_solid->setChecked(m_model.dimension() == kDimensionSolid);
  m_figureList->clear();
  for (const std::string& name : m_model.figureNames()) m_figureList->addItem(cp1252ToQString(name));
  m_figureList->setCurrentIndex(m_model.listIndex());
  m_busy = false;
}

void GeometryPanel::fillSubFigureList() {
  m_busy = true;
  m_subList->clear();
  const auto& subs = m_model.layout().subFigures;
  for (size_t i = 0; i < subs.size(); ++i) {
    const std::string& name = subs[i].name;
    m_subList->addItem(name.empty() ? QStringLiteral("Vue %1").arg(i + 1) : cp1252ToQString(name));
  }
  m_subList->setCurrentIndex(m_model.subFigure());
  m_subList->setVisible(m_model.loaded() && subs.size() >= 2);
  m_busy = false;
}

void GeometryPanel::showState() {
  m_angles->setVisible(m_model.loaded() && m_model.layout().anglesNote());
  const bool approximate = m_model.resultShown() && m_model.approximate();
  m_approximate->setText(approximate ? QStringLiteral("- valeur approchée -") : QString());
  QPalette p = m_approximate->palette();
  p.setColor(QPalette::Window, approximate ? palette().color(QPalette::Window) : QColor(192, 192, 192));
  p.setColor(QPalette::WindowText, QColor(255, 0, 0));
  m_approximate->setPalette(p);
  const bool noPerimeter = m_model.figure() == kFigureWithoutPerimeter;
  m_legend->setVisible(!noPerimeter);
  m_legendNoPerimeter->setVisible(noPerimeter);
  m_grid->update();
  m_result->update();
  m_picture->update();
}

// ---- Figure choice ----------------------------------------------------------

void GeometryPanel::chooseDimension(int dimension) {
  if (m_busy) return;
  closeEditor();
  if (m_model.chooseDimension(dimension)) afterLoad(m_model.loaded());
}

void GeometryPanel::chooseFigure(int index) {
  if (m_busy || index < 0) return;
  closeEditor();
  m_model.chooseFigure(index);
  fillSubFigureList();
  showState();
}

void GeometryPanel::chooseSubFigure(int index) {
  if (m_busy || index < 0) return;
  closeEditor();
  m_model.chooseSubFigure(index);
  showState();
}

// ---- Commands ---------------------------------------------------------------

bool GeometryPanel::command(int id) {
  switch (id) {
    case kCmdGeoCalculate:
      calculate();
      return true;
    case kCmdGeoClear:
      clearFigure();
      return true;
    case kCmdCopy:
      copy();
      return true;
    case kCmdPaste:
      paste();
      return true;
    default:
      return false;
  }
}

std::unique_ptr<ReportSource> GeometryPanel::reportSource() { return geometricReportSource(m_model); }

bool GeometryPanel::commandEnabled(int id) const {
  switch (id) {
    case kCmdCopy:
    case kCmdPaste:
      return true;
    default:
      return false;
  }
}

void GeometryPanel::calculate() {
  closeEditor();
  m_model.compute(true);
  showState();
}

void GeometryPanel::clearFigure() {
  closeEditor();
  m_model.clearFigure();
  showState();
}

// ---- The in-place editor ----------------------------------------------------

bool GeometryPanel::commitEditor() {
  const int row = m_grid->editorRow();
  if (row < 0 || m_committing) return true;
  m_committing = true;
  double messageValue = 0.0;
  const int code = m_model.commitRow(row, qStringToCp1252(m_grid->editor()->text()), messageValue);
  if (code == 0) {
    m_app.validEntry = true;
    m_grid->editor()->setText(cp1252ToQString(m_model.rowText(row)));
    showState();
    m_committing = false;
    return true;
  }
  m_app.validEntry = false;
  ShowValueMessage(m_app.messenger(), code, messageValue);
  // The row keeps its value; it is back in the editor to be corrected.
  m_grid->editor()->setText(cp1252ToQString(m_model.rowText(row)));
  m_grid->editor()->setFocus(Qt::OtherFocusReason);
  m_grid->editor()->selectAll();
  m_committing = false;
  return false;
}

void GeometryPanel::closeEditor() {
  if (!m_grid->editorOpen()) return;
  // A refused value has been replaced by the row's own: nothing refused stays.
  if (!commitEditor()) m_app.validEntry = true;
  m_grid->hideEditor();
}

void GeometryPanel::editorLeft() {
  if (m_committing || !m_grid->editorOpen()) return;
  // Leaving for "Annuler" takes nothing: the window goes without its fields.
  const auto* next = qobject_cast<const QPushButton*>(QApplication::focusWidget());
  if (next && next->text() == QLatin1String("Annuler")) return;
  commitEditor();
}

void GeometryPanel::editorTyped(const QString& text) {
  const int row = m_grid->editorRow();
  std::string checked = qStringToCp1252(text);
  if (row >= 0 && m_model.acceptsTyping(row, checked)) {
    // Shown as the model took it ("e" as "E", "," as ".").
    m_lastGoodText = cp1252ToQString(checked);
    if (m_lastGoodText != text) {
      const int caret = m_grid->editor()->cursorPosition();
      const int removed = static_cast<int>(text.size()) - static_cast<int>(m_lastGoodText.size());
      m_grid->editor()->setText(m_lastGoodText);
      m_grid->editor()->setCursorPosition(std::max(0, caret - removed));
    }
    return;
  }
  // A refused keystroke is taken back, the caret where it was.
  SoundBeep(m_app.messenger(), BeepKind::Warning);
  const int caret = m_grid->editor()->cursorPosition();
  const int removed = static_cast<int>(text.size()) - static_cast<int>(m_lastGoodText.size());
  m_grid->editor()->setText(m_lastGoodText);
  m_grid->editor()->setCursorPosition(std::max(0, caret - std::max(0, removed)));
}

void GeometryPanel::rowClicked(int row) {
  closeEditor();
  m_model.setResultSelected(false);
  m_grid->openEditor(row);
  m_lastGoodText = m_grid->editor()->text();
  showState();
}

void GeometryPanel::resultClicked() {
  closeEditor();
  m_model.setResultSelected(true);
  showState();
}

void GeometryPanel::clickVariable(int index) {
  closeEditor();
  const LabelClick outcome = m_model.clickVariable(index);
  // A refused tenth datum has had its message from the model.
  if (outcome == LabelClick::RowAdded) {
    m_grid->openEditor(m_model.selectedRow());
    m_lastGoodText = m_grid->editor()->text();
  }
  showState();
}

void GeometryPanel::takeAsDatum(int index) {
  closeEditor();
  const LabelClick outcome = m_model.takeAsDatum(index);
  if (outcome == LabelClick::RowAdded || outcome == LabelClick::RowSelected) {
    m_grid->openEditor(m_model.selectedRow());
    m_lastGoodText = m_grid->editor()->text();
  }
  showState();
}

void GeometryPanel::removeRow(int row) {
  // The value being typed into the row that goes is not taken (nor refused).
  if (m_grid->editorRow() == row) {
    m_grid->hideEditor();
    m_app.validEntry = true;
  } else {
    closeEditor();
  }
  m_model.selectRow(row);
  m_model.removeRow(row);
  m_grid->setFocus(Qt::OtherFocusReason);
  showState();
}

// ---- Memories and clipboard -------------------------------------------------

bool GeometryPanel::memoryValue(std::string& valueText) const {
  // The editor is open only while a row is being changed; a click on the
  // result panel closes it.
  if (m_grid->editorOpen()) {
    std::string text = qStringToCp1252(m_grid->editor()->text());
    std::replace(text.begin(), text.end(), ',', '.');
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    double value = 0.0;
    if (!parseReal(text, value)) return false;
    valueText = exchangeText(value);
    return true;
  }
  if (!m_model.resultSelected() || !m_model.resultShown()) return false;
  valueText = exchangeText(m_model.resultValue());
  return true;
}

bool GeometryPanel::useMemory(const std::string& valueText) {
  double value = 0.0;
  if (!parseReal(valueText, value)) return false;
  // The selected row takes the memory, in its editor, as if typed there.
  if (!m_grid->editorOpen()) {
    if (m_model.selectedRow() < 0) return false;
    m_grid->openEditor(m_model.selectedRow());
  }
  const QString text = cp1252ToQString(formatDouble("%G", value));
  std::string checked = qStringToCp1252(text);
  if (!m_model.acceptsTyping(m_grid->editorRow(), checked)) return false;
  m_grid->editor()->setText(text);
  m_grid->editor()->setFocus(Qt::OtherFocusReason);
  m_lastGoodText = text;
  return true;
}

void GeometryPanel::copy() {
  if (m_grid->editorOpen()) {
    m_grid->editor()->copy();
    return;
  }
  if (!m_model.resultSelected() || !m_model.resultShown()) {
    SoundBeep(m_app.messenger(), BeepKind::Warning);
    return;
  }
  QClipboard* clipboard = QApplication::clipboard();
  if (!clipboard) {
    ShowMessage(m_app.messenger(), kCaptionError, 94, {}, MessageStyle::Error);
    return;
  }
  clipboard->setText(cp1252ToQString(exchangeText(m_model.resultValue())));
}

void GeometryPanel::paste() {
  if (!m_grid->editorOpen()) {
    SoundBeep(m_app.messenger(), BeepKind::Warning);
    return;
  }
  const QClipboard* clipboard = QApplication::clipboard();
  const QString text = clipboard ? clipboard->text().trimmed() : QString();
  if (text.isEmpty()) {
    ShowMessage(m_app.messenger(), kCaptionError, 94, {}, MessageStyle::Error);
    return;
  }
  m_grid->editor()->setText(text.left(25));
  if (commitEditor()) m_grid->editor()->selectAll();
}

}  // namespace qz
