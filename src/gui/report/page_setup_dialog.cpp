#include "report/page_setup_dialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFocusEvent>
#include <QFontDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/calc_app.h"
#include "numbers/messages.h"
#include "platform/painter_canvas.h"
#include "platform/qt_text.h"
#include "platform/report_painter.h"

namespace qz {

namespace {

constexpr int kPrinterUnreadable = 51;  // "Impression du document impossible !"

constexpr MarginSide kSides[4] = {MarginSide::Left, MarginSide::Right, MarginSide::Top, MarginSide::Bottom};

std::size_t indexOf(MarginSide side) { return static_cast<std::size_t>(side); }

// The frame the sheet is drawn in.
class PagePreview : public QFrame {
 public:
  PagePreview(const PageSetupRules& rules, QWidget* parent) : QFrame(parent), m_rules(rules) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setFixedSize(250, 250);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(contentsRect(), palette().color(QPalette::Window));
    PainterCanvas canvas(&painter);
    const QRect r = contentsRect();
    drawPageSetupPreview(canvas, Rect{r.left(), r.top(), r.right() + 1, r.bottom() + 1}, m_rules.printerPage(),
                         m_rules.margins());
  }

 private:
  const PageSetupRules& m_rules;
};

// A font as the program measures it: the point size the chooser shows, or
// the one its pixel size makes on the report's screen.
int pointSizeOf(const QFont& font) {
  if (font.pointSize() > 0) return font.pointSize();
  return fontPointSize(font.pixelSize(), kReportScreenDpi);
}

// The chooser keeps itself open on a size the report cannot use.
class ReportFontDialog : public QFontDialog {
 public:
  ReportFontDialog(Messenger& messenger, const QFont& initial, QWidget* parent)
      : QFontDialog(parent), m_messenger(messenger) {
    setObjectName(QStringLiteral("fontDialog"));
    setWindowTitle(QStringLiteral(" Police de caractères"));
    setOptions(QFontDialog::MonospacedFonts | QFontDialog::DontUseNativeDialog);
    setCurrentFont(initial);
  }

  void accept() override {
    if (checkReportFontSize(m_messenger, pointSizeOf(currentFont()))) QFontDialog::accept();
  }

 private:
  Messenger& m_messenger;
};

}  // namespace

PageSetupDialog::PageSetupDialog(CalcApp& app, PrinterFacts facts, QWidget* parent)
    : QDialog(parent), m_app(app), m_facts(std::move(facts)), m_rules(app.pageSetup) {
  setWindowTitle(QStringLiteral("  Mise en page des impressions"));

  // Margins, in the order of the fields: left, right, top, bottom.
  auto* marginsGroup = new QGroupBox(QStringLiteral("Marges (cm) "), this);
  auto* marginsGrid = new QGridLayout(marginsGroup);
  const QString labels[4] = {QStringLiteral("&Gauche :"), QStringLiteral("Dr&oite :"), QStringLiteral("&Haut :"),
                             QStringLiteral("&Bas :")};
  const QString names[4] = {QStringLiteral("leftMargin"), QStringLiteral("rightMargin"),
                            QStringLiteral("topMargin"), QStringLiteral("bottomMargin")};
  for (MarginSide side : kSides) {
    const std::size_t i = indexOf(side);
    auto* field = new QLineEdit(marginsGroup);
    field->setObjectName(names[i]);
    field->setMaxLength(kMarginFieldLength);
    field->setAlignment(Qt::AlignRight);
    field->setFixedWidth(70);
    field->installEventFilter(this);
    auto* label = new QLabel(labels[i], marginsGroup);
    label->setBuddy(field);
    const int row = static_cast<int>(i) / 2, column = (static_cast<int>(i) % 2) * 2;
    marginsGrid->addWidget(label, row, column);
    marginsGrid->addWidget(field, row, column + 1);
    connect(field, &QLineEdit::textEdited, this, [this, side](const QString& text) { fieldEdited(side, text); });
    m_fields[i] = field;
  }
  marginsGrid->setColumnMinimumWidth(2, 80);
  marginsGrid->setColumnStretch(4, 1);

  auto* orientationGroup = new QGroupBox(QStringLiteral("Orientation "), this);
  auto* orientationRow = new QHBoxLayout(orientationGroup);
  m_portrait = new QRadioButton(QStringLiteral(" Portrait"), orientationGroup);
  m_portrait->setObjectName(QStringLiteral("portrait"));
  m_landscape = new QRadioButton(QStringLiteral(" Paysage"), orientationGroup);
  m_landscape->setObjectName(QStringLiteral("landscape"));
  orientationRow->addWidget(m_portrait);
  orientationRow->addWidget(m_landscape);
  orientationRow->addStretch(1);
  auto* orientations = new QButtonGroup(this);
  orientations->addButton(m_portrait, 0);
  orientations->addButton(m_landscape, 1);
  connect(orientations, &QButtonGroup::idClicked, this, &PageSetupDialog::orientationChosen);

  auto* defaults = new QPushButton(QStringLiteral("Marges et orientation par &défaut"), this);
  defaults->setObjectName(QStringLiteral("defaults"));
  auto* font = new QPushButton(QStringLiteral("&Police"), this);
  font->setObjectName(QStringLiteral("font"));
  auto* apply = new QPushButton(QStringLiteral("Applique&r"), this);
  apply->setObjectName(QStringLiteral("apply"));
  for (QPushButton* b : {defaults, font, apply}) b->setAutoDefault(false);
  connect(defaults, &QPushButton::clicked, this, &PageSetupDialog::restoreDefaults);
  connect(font, &QPushButton::clicked, this, &PageSetupDialog::chooseFont);
  connect(apply, &QPushButton::clicked, this, &PageSetupDialog::applyAgain);
  auto* fontAndApply = new QHBoxLayout;
  fontAndApply->addWidget(font);
  fontAndApply->addWidget(apply);

  auto* controls = new QVBoxLayout;
  controls->addWidget(marginsGroup);
  controls->addWidget(orientationGroup);
  controls->addWidget(defaults);
  controls->addLayout(fontAndApply);
  controls->addStretch(1);

  m_preview = new PagePreview(m_rules, this);
  m_preview->setObjectName(QStringLiteral("preview"));
  m_fontCaption = new QLabel(this);
  m_fontCaption->setObjectName(QStringLiteral("fontCaption"));
  m_fontCaption->setAlignment(Qt::AlignHCenter);
  auto* previewColumn = new QVBoxLayout;
  previewColumn->addWidget(m_preview);
  previewColumn->addWidget(m_fontCaption);
  previewColumn->addStretch(1);

  auto* body = new QHBoxLayout;
  body->addLayout(controls, 1);
  body->addSpacing(8);
  body->addLayout(previewColumn);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("ok"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Annuler"), this);
  cancel->setObjectName(QStringLiteral("cancel"));
  connect(ok, &QPushButton::clicked, this, &PageSetupDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &PageSetupDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body);
  layout->addLayout(buttons);

  m_factsRead = takePrinterPage(m_rules.orientation());
  showState();
}

bool PageSetupDialog::run(CalcApp& app, PrinterFacts facts, QWidget* parent) {
  PageSetupDialog dialog(app, std::move(facts), parent);
  if (!dialog.factsRead()) return false;
  return dialog.exec() == QDialog::Accepted;
}

bool PageSetupDialog::takePrinterPage(int orientation) {
  const std::optional<PrinterPage> page = m_facts ? m_facts(orientation) : std::nullopt;
  if (!page) {
    ShowMessage(m_app.messenger(), kCaptionError, kPrinterUnreadable, {}, MessageStyle::Error);
    return false;
  }
  m_rules.setOrientation(orientation);
  m_rules.setPrinterPage(*page);
  return true;
}

void PageSetupDialog::showState() {
  m_showing = true;
  for (MarginSide side : kSides) {
    const QString text = cp1252ToQString(m_rules.fieldText(side));
    m_fields[indexOf(side)]->setText(text);
    m_lastGoodText[indexOf(side)] = text;
  }
  m_portrait->setChecked(m_rules.orientation() == 0);
  m_landscape->setChecked(m_rules.orientation() == 1);
  const FontDescription& font = m_rules.reportFont();
  const int characterHeight = PainterCanvas::qtFont(font.toFontSpec()).pixelSize();
  m_fontCaption->setText(
      cp1252ToQString(fontCaption(font.face, fontPointSize(characterHeight, kReportScreenDpi))));
  m_preview->update();
  m_showing = false;
}

bool PageSetupDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_pressToSwallow && event->type() == QEvent::MouseButtonPress) {
    // The click that left a refused field does not go on to its button.
    m_pressToSwallow->removeEventFilter(this);
    m_pressToSwallow = nullptr;
    return true;
  }
  if (event->type() == QEvent::FocusOut && !m_showing) {
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    // A message box or a menu taking the keyboard for a while is not leaving the field.
    const bool leaving = reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
                         reason != Qt::MenuBarFocusReason;
    // Leaving for "Annuler" takes nothing: the dialog goes without its fields.
    QWidget* next = QApplication::focusWidget();
    const bool cancelling = next && next->objectName() == QLatin1String("cancel");
    for (MarginSide side : kSides) {
      if (watched != m_fields[indexOf(side)] || !leaving || cancelling || leaveField(side)) continue;
      // Focus goes to what the mouse pressed before the press itself arrives.
      if (reason == Qt::MouseFocusReason && next && next != watched) {
        m_pressToSwallow = next;
        next->installEventFilter(this);
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

bool PageSetupDialog::leaveField(MarginSide side) {
  QLineEdit* field = m_fields[indexOf(side)];
  const MarginVerdict verdict = m_rules.leaveField(side, qStringToCp1252(field->text()));
  if (verdict.check == MarginCheck::Unchanged) return true;
  // Only this field is shown again: another may hold a text still being typed.
  const auto showField = [&] {
    m_showing = true;
    field->setText(cp1252ToQString(m_rules.fieldText(side)));
    m_lastGoodText[indexOf(side)] = field->text();
    m_showing = false;
  };
  if (verdict.check == MarginCheck::Accepted) {
    showField();
    m_preview->update();
    return true;
  }
  PageSetupRules::reportRefusal(m_app.messenger(), verdict);
  // The field keeps its previous value, back in it to be corrected.
  showField();
  m_showing = true;
  field->setFocus(Qt::OtherFocusReason);
  field->selectAll();
  m_showing = false;
  return false;
}

void PageSetupDialog::fieldEdited(MarginSide side, const QString& text) {
  if (m_showing) return;
  QLineEdit* field = m_fields[indexOf(side)];
  QString& lastGood = m_lastGoodText[indexOf(side)];
  if (PageSetupRules::acceptsTyping(qStringToCp1252(text))) {
    lastGood = text;
    return;
  }
  // A refused keystroke is taken back, the caret where it was.
  SoundBeep(m_app.messenger(), BeepKind::Warning);
  const int caret = field->cursorPosition();
  const int added = static_cast<int>(text.size()) - static_cast<int>(lastGood.size());
  m_showing = true;
  field->setText(lastGood);
  field->setCursorPosition(std::max(0, caret - std::max(0, added)));
  m_showing = false;
}

void PageSetupDialog::orientationChosen(int orientation) {
  if (orientation != m_rules.orientation()) takePrinterPage(orientation);
  showState();
}

void PageSetupDialog::restoreDefaults() {
  const PageSetupRules before = m_rules;
  m_rules.restoreDefaults();
  if (!takePrinterPage(0)) m_rules = before;
  showState();
}

void PageSetupDialog::applyAgain() {
  // The printer may have changed since the dialog opened: its page is read again.
  takePrinterPage(m_rules.orientation());
  showState();
}

void PageSetupDialog::chooseFont() {
  QFont initial = PainterCanvas::qtFont(m_rules.reportFont().toFontSpec());
  initial.setPointSize(pointSizeOf(initial));
  initial.setStrikeOut(m_rules.reportFont().strikeOut != 0);
  auto* chooser = new ReportFontDialog(m_app.messenger(), initial, this);
  chooser->setAttribute(Qt::WA_DeleteOnClose);
  connect(chooser, &QFontDialog::fontSelected, this, &PageSetupDialog::applyChosenFont);
  chooser->open();
}

void PageSetupDialog::applyChosenFont(const QFont& font) {
  const int points = pointSizeOf(font);
  if (!checkReportFontSize(m_app.messenger(), points)) return;
  ChosenFont chosen;
  chosen.face = qStringToCp1252(font.family());
  chosen.points = points;
  chosen.weight = static_cast<int>(font.weight());
  chosen.italic = font.italic();
  chosen.underline = font.underline();
  chosen.strikeOut = font.strikeOut();
  m_rules.setReportFont(reportFontFromChoice(m_rules.reportFont(), chosen, kReportScreenDpi));
  showState();
}

void PageSetupDialog::accept() {
  // "OK" by the keyboard leaves the field being edited without a focus change:
  // every field is checked (an untouched one passes as it is).
  for (MarginSide side : kSides)
    if (!leaveField(side)) return;
  const PageSetup chosen = m_rules.result();
  m_app.pageSetup = chosen;
  storePageSetup(m_app.settings(), chosen);
  QDialog::accept();
}

}  // namespace qz
