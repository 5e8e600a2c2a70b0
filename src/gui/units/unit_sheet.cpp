#include "units/unit_sheet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QVBoxLayout>

#include "numbers/markup.h"
#include "numbers/string_table.h"
#include "platform/painter_canvas.h"
#include "platform/qt_text.h"
#include "units/markup_label.h"
#include "units/unit_analysis.h"
#include "units/unit_history.h"
#include "units/unit_tables.h"

namespace qz {

namespace {

constexpr int kNoOccurrence = 262;
const FontSpec kMarkupFont{"Arial", -16, 400};
constexpr int kMarkupRole = Qt::UserRole + 1;

// Rows of the recent and search lists are markup texts (unit symbols).
class MarkupDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    painter->save();
    const bool selected = option.state & QStyle::State_Selected;
    if (selected) painter->fillRect(option.rect, option.palette.highlight());
    PainterCanvas canvas(painter);
    const QByteArray bytes = index.data(kMarkupRole).toByteArray();
    const Rgb colour = selected ? Rgb{255, 255, 255} : Rgb{0, 0, 0};
    const QRect r = option.rect.adjusted(6, 4, -4, -2);
    drawMarkup(canvas, 0, std::string(bytes.constData(), bytes.size()),
               Rect{r.left(), r.top(), r.right(), r.bottom()}, MarkupAlign::Left, colour,
               FontSpec{"Arial", -14, 400});
    painter->restore();
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(
        std::max(size.height(), QFontMetrics(PainterCanvas::qtFont({"Arial", -14, 400})).height() + 10));
    return size;
  }
};

QListWidgetItem* markupItem(const std::string& markup) {
  auto* item = new QListWidgetItem(cp1252ToQString(markupToPlainUtf8(markup)));
  item->setData(kMarkupRole, QByteArray(markup.data(), static_cast<int>(markup.size())));
  return item;
}

std::string folded(const std::string& text) {
  static const std::string from =
      "\xE0\xE1\xE2\xE3\xE4\xE5\xE7\xE8\xE9\xEA\xEB\xEC\xED\xEE\xEF\xF1\xF2\xF3\xF4\xF5\xF6\xF8\xF9\xFA\xFB"
      "\xFC\xFD\xFF";
  static const std::string to = "aaaaaaceeeeiiiinoooooouuuuyy";
  std::string out;
  for (char ch : text) {
    auto c = static_cast<unsigned char>(ch);
    if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c - 'A' + 'a');
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) c = static_cast<unsigned char>(c + 0x20);
    const std::size_t at = from.find(static_cast<char>(c));
    out += at != std::string::npos ? to[at] : static_cast<char>(c);
  }
  return out;
}

std::string plainSymbol(const UnitRecord& record) {
  std::string text = UnitText(record);
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == kMarkField) continue;
    if (c == kMarkGreek && i + 2 < text.size() && text[i + 1] == 'm' && text[i + 2] == kMarkGreek) {
      out += '\xB5';
      i += 2;
      continue;
    }
    if (c == kMarkGreek || c == kMarkSubscript || c == kMarkExponent) continue;
    out += c;
  }
  return out;
}

std::string squeezed(const std::string& text) {
  std::string out;
  bool blank = false;
  for (char c : text) {
    if (c == ' ' || c == '\t') {
      blank = true;
      continue;
    }
    if (blank && !out.empty()) out += ' ';
    blank = false;
    out += c;
  }
  return out;
}

void fillList(QComboBox* list, const std::vector<std::pair<QString, int>>& items, int chosen) {
  list->clear();
  for (const auto& [text, data] : items) list->addItem(text, data);
  list->setCurrentIndex(list->findData(chosen));
}

}  // namespace

std::vector<int> searchUnits(const UnitsDatabase& database, const std::string& query, bool byName,
                             bool wholeWord) {
  std::string wanted = squeezed(query);
  if (byName) wanted = folded(wanted);
  std::vector<int> found;
  if (wanted.empty()) return found;
  for (std::size_t i = 0; i < database.units.size(); ++i) {
    const DatabaseUnit& unit = database.units[i];
    if (unit.record.count <= 0) continue;
    const std::string compared = byName ? folded(unit.name) : plainSymbol(unit.record);
    if (wholeWord ? compared == wanted : compared.find(wanted) != std::string::npos)
      found.push_back(static_cast<int>(i));
  }
  return found;
}

// ---- Expression view ------------------------------------------------------------------

ExpressionView::ExpressionView(UnitSheetModel& model, QWidget* parent) : QWidget(parent), m_model(model) {
  setMouseTracking(true);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  setToolTip(QStringLiteral("Unité non standard : cliquer sur un composant ou sur un intervalle"));
}

QSize ExpressionView::sizeHint() const {
  return QSize(300, QFontMetrics(PainterCanvas::qtFont(kMarkupFont)).height() * 2 + 8);
}

std::vector<ExpressionView::Box> ExpressionView::layoutBoxes() const {
  // Component widths are measured by drawing them once off screen.
  QPixmap scratch(1, 1);
  QPainter measure(&scratch);
  PainterCanvas canvas(&measure);
  const int height = this->height();
  std::vector<Box> boxes;
  int x = 6;
  const int gapWidth = 10;
  const UnitRecord& unit = m_model.unit();
  for (int i = 0; i <= unit.count; ++i) {
    // The gap after the last component reaches the right edge: that is where one clicks to append.
    const int width = i == unit.count ? std::max(gapWidth, this->width() - x - 2) : gapWidth;
    boxes.push_back({QRect(x, 2, width, height - 4), true, i});
    x += gapWidth;
    if (i == unit.count) break;
    const Size size = drawMarkup(canvas, 0, m_model.componentText(i), Rect{0, 0, 2000, height},
                                 MarkupAlign::Left, Rgb{}, kMarkupFont);
    boxes.push_back({QRect(x, 2, std::max(size.width, 4) + 2, height - 4), false, i});
    x += std::max(size.width, 4) + 2;
  }
  return boxes;
}

int ExpressionView::boxAt(const QPoint& point) const {
  const auto boxes = layoutBoxes();
  for (std::size_t i = 0; i < boxes.size(); ++i)
    if (boxes[i].rect.contains(point)) return static_cast<int>(i);
  return -1;
}

void ExpressionView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  p.setPen(QColor(128, 128, 128));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  const auto boxes = layoutBoxes();
  const QFontMetrics metrics(PainterCanvas::qtFont(kMarkupFont));
  const int top = (height() - metrics.height()) / 2;
  PainterCanvas canvas(&p);
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    const Box& box = boxes[i];
    const bool selected =
        box.gap ? m_model.selectedGap() == box.index : m_model.selectedComponent() == box.index;
    if (selected)
      p.fillRect(box.rect, palette().color(QPalette::Highlight));
    else if (static_cast<int>(i) == m_hover && m_model.nonStandard())
      p.fillRect(box.rect, QColor(220, 230, 250));
    if (!box.gap)
      drawMarkup(canvas, 0, m_model.componentText(box.index),
                 Rect{box.rect.left() + 1, top, box.rect.right() + 40, top + metrics.height()},
                 MarkupAlign::Left, selected ? Rgb{255, 255, 255} : Rgb{0, 0, 128}, kMarkupFont);
  }
}

void ExpressionView::mousePressEvent(QMouseEvent* event) {
  if (!m_model.nonStandard()) return;
  const int at = boxAt(event->position().toPoint());
  if (at < 0) {
    m_model.clearSelection();
  } else {
    const Box box = layoutBoxes()[at];
    if (box.gap)
      m_model.selectGap(box.index);
    else
      m_model.selectComponent(box.index);
  }
  if (onSelection) onSelection();
  update();
}

void ExpressionView::mouseMoveEvent(QMouseEvent* event) {
  const int at = boxAt(event->position().toPoint());
  if (at != m_hover) {
    m_hover = at;
    update();
  }
}

void ExpressionView::leaveEvent(QEvent*) {
  m_hover = -1;
  update();
}

// ---- The sheet -------------------------------------------------------------------------

UnitSheet::UnitSheet(const UnitsDatabase& database, UnitRecord& edited, Messenger& messenger,
                     std::string historyFolder, const QString& caption, QWidget* parent)
    : QDialog(parent),
      m_model(database, edited, messenger),
      m_history(std::make_unique<UnitHistory>(std::move(historyFolder))) {
  setWindowTitle(caption);
  setFont(PainterCanvas::qtFont({"Arial", -13, 400}));
  m_tabs = new QTabWidget(this);
  m_tabs->addTab(buildDefinitionPage(), QStringLiteral("Définition"));
  m_tabs->addTab(buildSearchPage(), QStringLiteral("Rechercher"));
  m_tabs->addTab(buildRecentPage(), QStringLiteral("Unités utilisées récemment"));

  auto* buttons = new QDialogButtonBox(this);
  m_ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  QPushButton* cancel = buttons->addButton(QStringLiteral("Annuler"), QDialogButtonBox::RejectRole);
  cancel->setAutoDefault(false);
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    if (m_model.accept()) accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  // OK belongs to the "Définition" page only.
  connect(m_tabs, &QTabWidget::currentChanged, this, [this](int page) {
    m_ok->setVisible(page == 0);
    if (page == 2) loadRecent();
  });

  auto* root = new QVBoxLayout(this);
  root->addWidget(m_tabs, 1);
  root->addWidget(buttons);
  resize(640, 470);
  loadRecent();
  refresh();
}

UnitSheet::~UnitSheet() = default;

QWidget* UnitSheet::buildDefinitionPage() {
  auto* page = new QWidget;
  const QString titles[6] = {QStringLiteral("Système :"),
                             QStringLiteral("Catégorie :"),
                             QStringLiteral("Grandeur :"),
                             QStringLiteral("Unité générique :"),
                             QStringLiteral("Multiple ou sous-multiple :"),
                             QStringLiteral("Exposant :")};
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(10);
  grid->setVerticalSpacing(6);
  for (int i = 0; i < 6; ++i) {
    m_lists[i] = new QComboBox(page);
    m_lists[i]->setMaxVisibleItems(20);
    m_lists[i]->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_lists[i]->setMinimumContentsLength(i < 4 ? 28 : 10);
    auto* label = new QLabel(titles[i], page);
    label->setBuddy(m_lists[i]);
    if (i < 4) {
      grid->addWidget(label, i, 0);
      grid->addWidget(m_lists[i], i, 1, 1, 3);
    } else {
      grid->addWidget(label, 4, (i - 4) * 2);
      grid->addWidget(m_lists[i], 4, (i - 4) * 2 + 1);
    }
    connect(m_lists[i], &QComboBox::currentIndexChanged, this, [this, i] { listChosen(i); });
  }
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);

  m_nonStandard = new QCheckBox(QStringLiteral(" &Unité non standard"), page);
  connect(m_nonStandard, &QCheckBox::toggled, this, [this](bool on) {
    if (m_filling) return;
    m_model.setNonStandard(on);
    refresh();
  });

  auto* expressionGroup = new QGroupBox(QStringLiteral("Expression symbolique :"), page);
  m_expression = new ExpressionView(m_model, expressionGroup);
  m_expression->onSelection = [this] { refresh(); };
  const std::pair<ComposeAction, QString> buttons[] = {
      {ComposeAction::One, QStringLiteral("1")},
      {ComposeAction::FrontMultiply, QStringLiteral("{-----}.")},
      {ComposeAction::FrontDivide, QStringLiteral("{-----}/")},
      {ComposeAction::InsertMultiply, QStringLiteral(".{-----}.")},
      {ComposeAction::InsertDivide, QStringLiteral(".{-----}/")},
      {ComposeAction::AppendMultiply, QStringLiteral(".{-----}")},
      {ComposeAction::AppendDivide, QStringLiteral("/{-----}")},
      {ComposeAction::Invert, QStringLiteral("Inverser")},
      {ComposeAction::Remove, QStringLiteral("Supprimer")},
      {ComposeAction::ClearAll, QStringLiteral("&Effacer tout")},
  };
  auto* buttonRow = new QHBoxLayout;
  buttonRow->setSpacing(4);
  for (const auto& [action, text] : buttons) {
    auto* button = new QPushButton(text, expressionGroup);
    button->setAutoDefault(false);
    QFontMetrics metrics(button->font());
    button->setMinimumWidth(metrics.horizontalAdvance(text) + 14);
    connect(button, &QPushButton::clicked, this, [this, a = action] {
      m_model.compose(a);
      refresh();
    });
    m_composeButtons.emplace_back(action, button);
    buttonRow->addWidget(button);
    if (action == ComposeAction::AppendDivide) buttonRow->addStretch(1);
  }
  auto* expressionColumn = new QVBoxLayout(expressionGroup);
  expressionColumn->addWidget(m_expression);
  expressionColumn->addLayout(buttonRow);

  auto* coefficientTitle = new QLabel(QStringLiteral("Coefficient SI (équation aux dimensions) :"), page);
  m_coefficient = new MarkupLabel(page);
  m_coefficient->setBaseFont({"Arial", -14, 400});
  m_coefficient->setColour({0, 0, 0});

  auto* column = new QVBoxLayout(page);
  column->addLayout(grid);
  column->addWidget(m_nonStandard);
  column->addWidget(expressionGroup);
  column->addWidget(coefficientTitle);
  column->addWidget(m_coefficient);
  column->addStretch(1);
  return page;
}

QWidget* UnitSheet::buildSearchPage() {
  auto* page = new QWidget;
  m_query = new QLineEdit(page);
  m_searchButton = new QPushButton(QStringLiteral("&Chercher"), page);
  m_searchButton->setAutoDefault(false);
  m_searchButton->setEnabled(false);
  auto* criteria = new QGroupBox(QStringLiteral(" Critères de recherche "), page);
  m_bySymbol = new QRadioButton(QStringLiteral(" Symbole"), criteria);
  auto* byName = new QRadioButton(QStringLiteral(" Nom"), criteria);
  m_bySymbol->setChecked(true);
  m_wholeWord = new QCheckBox(QStringLiteral(" Mot entier"), criteria);
  auto* criteriaRow = new QHBoxLayout(criteria);
  criteriaRow->addWidget(m_bySymbol);
  criteriaRow->addWidget(byName);
  criteriaRow->addSpacing(20);
  criteriaRow->addWidget(m_wholeWord);
  criteriaRow->addStretch(1);
  m_results = new QListWidget(page);
  m_results->setItemDelegate(new MarkupDelegate(m_results));
  m_useFound = new QPushButton(QStringLiteral("&Utiliser"), page);
  m_useFound->setAutoDefault(false);
  m_useFound->setEnabled(false);

  connect(m_query, &QLineEdit::textChanged, this,
          [this](const QString& text) { m_searchButton->setEnabled(!text.isEmpty()); });
  connect(m_query, &QLineEdit::returnPressed, this, &UnitSheet::search);
  connect(m_searchButton, &QPushButton::clicked, this, &UnitSheet::search);
  connect(m_results, &QListWidget::currentRowChanged, this,
          [this](int row) { m_useFound->setEnabled(!m_found.empty() && row >= 0); });
  connect(m_results, &QListWidget::itemDoubleClicked, this, [this] { useFound(); });
  connect(m_useFound, &QPushButton::clicked, this, &UnitSheet::useFound);

  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(QStringLiteral("Occurence :"), page));
  top->addWidget(m_query, 1);
  top->addWidget(m_searchButton);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch(1);
  bottom->addWidget(m_useFound);
  auto* column = new QVBoxLayout(page);
  column->addLayout(top);
  column->addWidget(criteria);
  column->addWidget(
      new QLabel(QStringLiteral("Résultat : Symbole [Nom] : Système, Catégorie, Grandeur"), page));
  column->addWidget(m_results, 1);
  column->addLayout(bottom);
  return page;
}

QWidget* UnitSheet::buildRecentPage() {
  auto* page = new QWidget;
  m_recent = new QListWidget(page);
  m_recent->setItemDelegate(new MarkupDelegate(m_recent));
  m_useRecent = new QPushButton(QStringLiteral("&Utiliser"), page);
  m_useRecent->setAutoDefault(false);
  auto* clear = new QPushButton(QStringLiteral("&Effacer tout"), page);
  clear->setAutoDefault(false);
  connect(m_recent, &QListWidget::currentRowChanged, this,
          [this](int row) { m_useRecent->setEnabled(row >= 0 && !m_recentUnits.empty()); });
  connect(m_recent, &QListWidget::itemDoubleClicked, this, [this] { useRecent(); });
  connect(m_useRecent, &QPushButton::clicked, this, &UnitSheet::useRecent);
  connect(clear, &QPushButton::clicked, this, &UnitSheet::clearRecent);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(m_useRecent);
  buttons->addWidget(clear);
  auto* column = new QVBoxLayout(page);
  column->addWidget(m_recent, 1);
  column->addLayout(buttons);
  return page;
}

QPushButton* UnitSheet::composeButton(ComposeAction action) const {
  for (const auto& [a, button] : m_composeButtons)
    if (a == action) return button;
  return nullptr;
}

void UnitSheet::refresh() {
  m_filling = true;
  const UnitsDatabase& db = m_model.database();
  std::vector<std::pair<QString, int>> items;
  for (std::size_t i = 0; i < db.systems.size(); ++i)
    items.emplace_back(cp1252ToQString(db.systems[i]), static_cast<int>(i + 1));
  fillList(m_lists[0], items, m_model.system());

  items.clear();
  if (m_model.system() > 0)
    for (int c : m_model.categories())
      items.emplace_back(cp1252ToQString(UnitsDatabase::nameAt(db.categories, c)), c);
  fillList(m_lists[1], items, m_model.category());

  items.clear();
  if (m_model.category() > 0)
    for (int q : m_model.quantities())
      items.emplace_back(cp1252ToQString(UnitsDatabase::nameAt(db.quantities, q)), q);
  fillList(m_lists[2], items, m_model.quantity());

  items.clear();
  if (m_model.quantity() > 0)
    for (int u : m_model.unitChoices()) items.emplace_back(cp1252ToQString(db.units[u].name), u);
  fillList(m_lists[3], items, m_model.unitIndex());

  items.clear();
  for (int k = kMinPrefixIndex; k <= kMaxPrefixIndex; ++k)
    items.emplace_back(cp1252ToQString(PrefixName(k)), k);
  fillList(m_lists[4], items, m_model.prefixEnabled() ? m_model.prefix() : 99);
  items.clear();
  for (int k = kMinExponentIndex; k <= kMaxExponentIndex; ++k)
    items.emplace_back(cp1252ToQString(ExponentText(k, true)), k);
  fillList(m_lists[5], items, m_model.exponentEnabled() ? m_model.exponent() : 99);

  m_lists[1]->setEnabled(m_model.system() > 0);
  m_lists[2]->setEnabled(m_model.category() > 0);
  m_lists[3]->setEnabled(m_model.quantity() > 0);
  m_lists[4]->setEnabled(m_model.prefixEnabled());
  m_lists[5]->setEnabled(m_model.exponentEnabled());
  m_nonStandard->setChecked(m_model.nonStandard());
  for (const auto& [action, button] : m_composeButtons) button->setEnabled(m_model.actionEnabled(action));
  m_coefficient->setMarkup(m_model.coefficientText());
  m_expression->update();
  m_filling = false;
}

void UnitSheet::listChosen(int level) {
  if (m_filling) return;
  const QVariant data = m_lists[level]->currentData();
  if (!data.isValid()) return;
  const int value = data.toInt();
  switch (level) {
    case 0:
      m_model.chooseSystem(value);
      break;
    case 1:
      m_model.chooseCategory(value);
      break;
    case 2:
      m_model.chooseQuantity(value);
      break;
    case 3:
      m_model.chooseUnit(value);
      break;
    case 4:
      m_model.choosePrefix(value);
      break;
    default:
      m_model.chooseExponent(value);
      break;
  }
  refresh();
}

void UnitSheet::loadRecent() {
  m_recentUnits.clear();
  m_recent->clear();
  UnitRecord record;
  for (int n = 0; n < kMaxHistoryRecords && m_history->LoadHistoryRecord(n, record); ++n) {
    m_recentUnits.push_back(record);
    m_recent->addItem(markupItem(UnitText(record)));
  }
  m_recent->setCurrentRow(-1);
  m_useRecent->setEnabled(false);
}

void UnitSheet::useRecent() {
  const int row = m_recent->currentRow();
  if (row < 0 || row >= static_cast<int>(m_recentUnits.size())) return;
  m_model.useUnit(m_recentUnits[row]);
  m_tabs->setCurrentIndex(0);
  refresh();
}

void UnitSheet::clearRecent() {
  m_history->ClearHistory();
  m_recentUnits.clear();
  m_recent->clear();
  m_useRecent->setEnabled(false);
}

void UnitSheet::search() {
  m_found = searchUnits(m_model.database(), qStringToCp1252(m_query->text()), !m_bySymbol->isChecked(),
                        m_wholeWord->isChecked());
  m_results->clear();
  const UnitsDatabase& db = m_model.database();
  for (int index : m_found) {
    const DatabaseUnit& unit = db.units[index];
    const UnitComponent& c = unit.record.components[0];
    m_results->addItem(markupItem(UnitText(unit.record) + " [" + unit.name +
                                  "] : " + UnitsDatabase::nameAt(db.systems, c.system) + ", " +
                                  UnitsDatabase::nameAt(db.categories, c.category) + ", " +
                                  UnitsDatabase::nameAt(db.quantities, c.quantity)));
  }
  if (m_found.empty()) m_results->addItem(markupItem(LoadString(kNoOccurrence)));
  m_results->setCurrentRow(-1);
  m_useFound->setEnabled(false);
}

void UnitSheet::useFound() {
  const int row = m_results->currentRow();
  if (row < 0 || row >= static_cast<int>(m_found.size())) return;
  m_model.useUnit(m_model.database().units[m_found[row]].record);
  m_tabs->setCurrentIndex(0);
  refresh();
}

void UnitSheet::done(int result) {
  if (result != QDialog::Accepted) m_model.cancel();
  m_model.finish(m_history.get());
  QDialog::done(result);
}

}  // namespace qz
