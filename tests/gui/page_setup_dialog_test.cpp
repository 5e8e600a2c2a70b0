// The page setup dialog as a user drives it: margin fields, orientation,
// defaults, the font chooser, "OK" and "Annuler".
#include <QApplication>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "core/report/a4_pages.h"
#include "app/calc_app.h"
#include "gui/gui_test_support.h"
#include "platform/scripted_messenger.h"
#include "report/page_setup_dialog.h"

using namespace qz;

namespace {

// An A4 sheet at 600 dpi whose printer cannot reach the outer 0.4 cm.
PrinterPage a4(int orientation) {
  const PrinterPage portrait = qz::testing::a4Page(600, 0.4);
  return orientation == 1 ? qz::testing::turned(portrait) : portrait;
}

// A printer the test controls: its page for each orientation, whether it
// answers, and the orientations it was asked for.
struct ScriptedPrinter {
  PrinterPage pages[2] = {a4(0), a4(1)};
  bool readable[2] = {true, true};
  std::vector<int> asked;

  PrinterFacts facts() {
    return [this](int orientation) -> std::optional<PrinterPage> {
      asked.push_back(orientation);
      if (!readable[orientation]) return std::nullopt;
      return pages[orientation];
    };
  }
};

/// Saves a picture of `widget` in $QZ_SHOT_DIR when it is set (to look at the dialog).
void shot(QWidget* widget, const char* name) {
  const QString folder = qEnvironmentVariable("QZ_SHOT_DIR");
  if (!folder.isEmpty()) widget->grab().save(folder + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}

}  // namespace

class PageSetupDialogTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir m_dir;
  MemorySettingsStore m_store;
  ScriptedMessenger m_messenger;
  std::unique_ptr<CalcApp> m_app;
  ScriptedPrinter m_printer;

  /// The dialog shown (not blocking), its fields filled from the page setup.
  std::unique_ptr<PageSetupDialog> openDialog() {
    auto dialog = std::make_unique<PageSetupDialog>(*m_app, m_printer.facts());
    dialog->show();
    dialog->activateWindow();
    (void)QTest::qWaitForWindowActive(dialog.get());
    return dialog;
  }
  template <typename T>
  static T* child(QWidget* dialog, const char* name) {
    T* found = dialog->findChild<T*>(QLatin1String(name));
    if (!found) qWarning("no widget %s", name);
    return found;
  }
  static QString fieldText(PageSetupDialog* d, MarginSide side) { return d->marginField(side)->text(); }
  /// Replaces the field's text as typed keys, then leaves the field with Tab.
  static void typeAndLeave(PageSetupDialog* d, MarginSide side, const QString& text) {
    QLineEdit* field = d->marginField(side);
    field->setFocus(Qt::MouseFocusReason);
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Tab);
  }
  std::string lastMessage() const { return m_messenger.lastTextUtf8(); }

 private slots:
  void init() {
    m_store = MemorySettingsStore();
    m_messenger.clear();
    m_printer = ScriptedPrinter();
    m_app = std::make_unique<CalcApp>(m_store, m_messenger, qz::testing::placesIn(m_dir.path()));
    m_app->LoadSettings();
    m_messenger.clear();
  }

  void opensWithMarginsRaisedToTheBorders() {
    m_app->pageSetup.leftMargin = 0.2;
    m_app->pageSetup.topMargin = 0.0;
    auto d = openDialog();
    QVERIFY(d->factsRead());
    QCOMPARE(d->windowTitle(), QStringLiteral("  Mise en page des impressions"));
    QCOMPARE(m_printer.asked, std::vector<int>{0});
    QCOMPARE(fieldText(d.get(), MarginSide::Left), QStringLiteral("0.4"));
    QCOMPARE(fieldText(d.get(), MarginSide::Right), QStringLiteral("1.5"));
    QCOMPARE(fieldText(d.get(), MarginSide::Top), QStringLiteral("0.4"));
    QCOMPARE(fieldText(d.get(), MarginSide::Bottom), QStringLiteral("2.0"));
    QCOMPARE(d->marginField(MarginSide::Left)->maxLength(), 25);
    QVERIFY(child<QRadioButton>(d.get(), "portrait")->isChecked());
    QVERIFY(!child<QRadioButton>(d.get(), "landscape")->isChecked());
    // Courier New of height -14 at 96 dpi: 10.5 points, shown rounded.
    QCOMPARE(child<QLabel>(d.get(), "fontCaption")->text(), QStringLiteral("Police : Courier New, 11 pt."));
    // Opening alone stores nothing.
    QCOMPARE(m_app->pageSetup.leftMargin, 0.2);
    QVERIFY(m_messenger.boxes().empty());
    shot(d.get(), "page_setup_raised");
  }

  void refusedKeystrokesBeepAndAreUndone() {
    auto d = openDialog();
    QLineEdit* field = d->marginField(MarginSide::Right);
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("3,5"));
    QCOMPARE(field->text(), QStringLiteral("3,5"));
    QVERIFY(m_messenger.sounds().empty());
    const struct {
      Qt::Key key;
      const char* name;
    } refused[] = {{Qt::Key_Minus, "minus"}, {Qt::Key_Plus, "plus"}, {Qt::Key_E, "exponent"},
                   {Qt::Key_Period, "second point"}, {Qt::Key_A, "letter"}};
    for (const auto& k : refused) {
      m_messenger.clear();
      QTest::keyClick(field, k.key);
      QVERIFY2(field->text() == QStringLiteral("3,5"), k.name);
      QVERIFY2(m_messenger.sounds() == std::vector<BeepKind>{BeepKind::Warning}, k.name);
    }
    QCOMPARE(field->cursorPosition(), 3);
  }

  void leavingAFieldChecksItsValue() {
    const struct {
      const char* name;
      MarginSide side;
      const char* typed;
      const char* shownAfter;
      const char* message;
    } rows[] = {
        {"0.0 on a 0.4 cm border", MarginSide::Left, "0.0", "2.5", "ERREUR\n\nValeur minimale = 0.4 !"},
        {"empty", MarginSide::Top, "", "2.5", "ERREUR\n\nIntroduire une valeur dans ce champ !"},
        {"over (21 - 10) / 2", MarginSide::Bottom, "5.6", "2.0", "ERREUR\n\nValeur maximale = 5.5 !"},
        {"a lone point", MarginSide::Right, ".", "1.5", ""},
        {"a valid value shown with one decimal", MarginSide::Right, "3,14", "3.1", ""},
    };
    for (const auto& row : rows) {
      auto d = openDialog();
      m_messenger.clear();
      typeAndLeave(d.get(), row.side, QString::fromUtf8(row.typed));
      QVERIFY2(fieldText(d.get(), row.side) == QString::fromUtf8(row.shownAfter), row.name);
      QVERIFY2(lastMessage() == row.message, row.name);
      const bool refused = std::string(row.shownAfter) != "3.1";
      // A refused value leaves the caret in its field, to be corrected.
      QVERIFY2(d->marginField(row.side)->hasFocus() == refused, row.name);
      if (std::string(row.typed) == ".") QVERIFY(m_messenger.sounds() == std::vector<BeepKind>{BeepKind::Warning});
    }
    auto d = openDialog();
    typeAndLeave(d.get(), MarginSide::Right, QStringLiteral("3,14"));
    QCOMPARE(d->rules().margin(MarginSide::Right), 3.14);
  }

  void okAfterARefusedValueKeepsTheDialogOpen() {
    auto d = openDialog();
    QLineEdit* field = d->marginField(MarginSide::Left);
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("0.1"));
    QPushButton* ok = child<QPushButton>(d.get(), "ok");
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(lastMessage(), std::string("ERREUR\n\nValeur minimale = 0.4 !"));
    QVERIFY(d->isVisible());
    QCOMPARE(d->result(), int(QDialog::Rejected));
    QVERIFY(!m_store.read("rMakeUp", "lMargin"));
    // Corrected, the next click goes through.
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("1"));
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!d->isVisible());
    QCOMPARE(d->result(), int(QDialog::Accepted));
    QCOMPARE(m_app->pageSetup.leftMargin, 1.0);
  }

  void returnInAFieldChecksItBeforeOk() {
    auto d = openDialog();
    QLineEdit* field = d->marginField(MarginSide::Top);
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("7"));
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(lastMessage(), std::string("ERREUR\n\nValeur maximale = 5.5 !"));
    QVERIFY(d->isVisible());
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("4.5"));
    QTest::keyClick(field, Qt::Key_Return);
    QVERIFY(!d->isVisible());
    QCOMPARE(m_app->pageSetup.topMargin, 4.5);
  }

  void landscapeReadsThePrinterAgain() {
    // In landscape this printer's wide border is on the right.
    m_printer.pages[1].offsetRightCm = 1.23;
    m_app->pageSetup.rightMargin = 0.5;
    auto d = openDialog();
    QCOMPARE(fieldText(d.get(), MarginSide::Right), QStringLiteral("0.5"));
    QTest::mouseClick(child<QRadioButton>(d.get(), "landscape"), Qt::LeftButton);
    QCOMPARE(m_printer.asked, (std::vector<int>{0, 1}));
    QCOMPARE(d->rules().orientation(), 1);
    QCOMPARE(fieldText(d.get(), MarginSide::Right), QStringLiteral("1.3"));
    // The wider sheet takes wider margins: (29.7 - 10) / 2.
    typeAndLeave(d.get(), MarginSide::Left, QStringLiteral("9.9"));
    QCOMPARE(fieldText(d.get(), MarginSide::Left), QStringLiteral("9.9"));
    QVERIFY(m_messenger.boxes().empty());

    // A printer that cannot say leaves the orientation as it was.
    m_printer.readable[0] = false;
    QTest::mouseClick(child<QRadioButton>(d.get(), "portrait"), Qt::LeftButton);
    QCOMPARE(lastMessage(), std::string("ERREUR\n\nImpression du document impossible !"));
    QCOMPARE(d->rules().orientation(), 1);
    QVERIFY(child<QRadioButton>(d.get(), "landscape")->isChecked());
  }

  void defaultsArePortraitAndTheFactoryMargins() {
    m_app->pageSetup = PageSetup{1.0, 1.0, 1.0, 1.0, 1, m_app->pageSetup.reportFont};
    m_printer.pages[0].offsetLeftCm = 3.0;
    auto d = openDialog();
    QVERIFY(child<QRadioButton>(d.get(), "landscape")->isChecked());
    QTest::mouseClick(child<QPushButton>(d.get(), "defaults"), Qt::LeftButton);
    QVERIFY(child<QRadioButton>(d.get(), "portrait")->isChecked());
    QCOMPARE(m_printer.asked.back(), 0);
    QCOMPARE(fieldText(d.get(), MarginSide::Left), QStringLiteral("3.0"));
    QCOMPARE(fieldText(d.get(), MarginSide::Right), QStringLiteral("1.5"));
    QCOMPARE(fieldText(d.get(), MarginSide::Top), QStringLiteral("2.5"));
    QCOMPARE(fieldText(d.get(), MarginSide::Bottom), QStringLiteral("2.0"));
  }

  void applyReadsThePrinterAndRaisesTheMargins() {
    auto d = openDialog();
    QCOMPARE(fieldText(d.get(), MarginSide::Bottom), QStringLiteral("2.0"));
    m_printer.pages[0].offsetBottomCm = 2.61;
    QTest::mouseClick(child<QPushButton>(d.get(), "apply"), Qt::LeftButton);
    QCOMPARE(fieldText(d.get(), MarginSide::Bottom), QStringLiteral("2.7"));
  }

  void okStoresThePageSetup() {
    auto d = openDialog();
    shot(d.get(), "page_setup");
    typeAndLeave(d.get(), MarginSide::Top, QStringLiteral("2.3"));
    typeAndLeave(d.get(), MarginSide::Right, QStringLiteral("1,15"));
    QTest::mouseClick(child<QRadioButton>(d.get(), "landscape"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(d.get(), "ok"), Qt::LeftButton);
    QCOMPARE(d->result(), int(QDialog::Accepted));
    QCOMPARE(m_app->pageSetup.topMargin, 2.3);
    QCOMPARE(m_app->pageSetup.rightMargin, 1.15);
    QCOMPARE(m_app->pageSetup.orientation, 1);
    QCOMPARE(*m_store.read("rMakeUp", "tMargin"), std::string("230"));
    QCOMPARE(*m_store.read("rMakeUp", "rMargin"), std::string("115"));
    QCOMPARE(*m_store.read("rMakeUp", "lMargin"), std::string("250"));
    QCOMPARE(*m_store.read("rMakeUp", "bMargin"), std::string("200"));
    QCOMPARE(*m_store.read("rMakeUp", "Orient"), std::string("1"));
    QCOMPARE(*m_store.read("Preference", "ReportFont"), std::string("-14,0,0,0,400,0,0,0,0,0,0,0,0,Courier New"));
    // The next start reads what "OK" wrote.
    CalcApp next(m_store, m_messenger, qz::testing::placesIn(m_dir.path()));
    next.LoadSettings();
    QCOMPARE(next.pageSetup.topMargin, 2.3);
    QCOMPARE(next.pageSetup.orientation, 1);
  }

  void cancelChangesNothing() {
    const PageSetup before = m_app->pageSetup;
    auto d = openDialog();
    typeAndLeave(d.get(), MarginSide::Top, QStringLiteral("4"));
    QTest::mouseClick(child<QRadioButton>(d.get(), "landscape"), Qt::LeftButton);
    // Leaving a wrong value for "Annuler" says nothing.
    QLineEdit* left = d->marginField(MarginSide::Left);
    left->setFocus();
    left->selectAll();
    QTest::keyClicks(left, QStringLiteral("0"));
    m_messenger.clear();
    QTest::mouseClick(child<QPushButton>(d.get(), "cancel"), Qt::LeftButton);
    QVERIFY(m_messenger.boxes().empty());
    QCOMPARE(d->result(), int(QDialog::Rejected));
    QVERIFY(!d->isVisible());
    QCOMPARE(m_app->pageSetup.topMargin, before.topMargin);
    QCOMPARE(m_app->pageSetup.leftMargin, before.leftMargin);
    QCOMPARE(m_app->pageSetup.orientation, before.orientation);
    QVERIFY(m_app->pageSetup.reportFont == before.reportFont);
    QVERIFY(!m_store.read("rMakeUp", "tMargin"));
    QVERIFY(!m_store.read("Preference", "ReportFont"));
  }

  void fontChooserReplacesTheReportFont() {
    auto d = openDialog();
    QTest::mouseClick(child<QPushButton>(d.get(), "font"), Qt::LeftButton);
    auto* chooser = d->findChild<QFontDialog*>(QStringLiteral("fontDialog"));
    QVERIFY(chooser);
    QVERIFY(chooser->isVisible());
    QCOMPARE(chooser->windowTitle(), QStringLiteral(" Police de caractères"));
    QVERIFY(chooser->testOption(QFontDialog::MonospacedFonts));
    QCOMPARE(chooser->currentFont().pointSize(), 11);
    shot(chooser, "page_setup_font");

    // A size the report cannot use keeps the chooser open.
    QFont huge(QStringLiteral("Liberation Mono"));
    huge.setPointSize(48);
    chooser->setCurrentFont(huge);
    chooser->accept();
    QCOMPARE(lastMessage(), std::string("ERREUR\n\nLa taille de la police doit être comprise entre 6 et 36 points."));
    QVERIFY(chooser->isVisible());

    QFont chosen(QStringLiteral("Liberation Mono"));
    chosen.setPointSize(12);
    chosen.setBold(true);
    chooser->setCurrentFont(chosen);
    chooser->accept();
    QTRY_VERIFY(!d->findChild<QFontDialog*>(QStringLiteral("fontDialog")));
    QCOMPARE(d->rules().reportFont().face, std::string("Courier New"));
    QCOMPARE(d->rules().reportFont().height, -16);
    QCOMPARE(d->rules().reportFont().weight, 700);
    QCOMPARE(child<QLabel>(d.get(), "fontCaption")->text(), QStringLiteral("Police : Courier New, 12 pt."));

    QFont other(QStringLiteral("DejaVu Sans Mono"));
    other.setPointSize(9);
    d->applyChosenFont(other);
    QCOMPARE(d->rules().reportFont().face, std::string("DejaVu Sans Mono"));
    QCOMPARE(child<QLabel>(d.get(), "fontCaption")->text(), QStringLiteral("Police : DejaVu Sans Mono, 9 pt."));
    QTest::mouseClick(child<QPushButton>(d.get(), "ok"), Qt::LeftButton);
    QCOMPARE(*m_store.read("Preference", "ReportFont"), std::string("-12,0,0,0,400,0,0,0,0,0,0,0,49,DejaVu Sans Mono"));
    QCOMPARE(m_app->pageSetup.reportFont.height, -12);
  }

  void previewFollowsTheMargins() {
    auto d = openDialog();
    QWidget* preview = child<QWidget>(d.get(), "preview");
    const QImage before = preview->grab().toImage();
    typeAndLeave(d.get(), MarginSide::Left, QStringLiteral("5"));
    QCOMPARE(d->rules().margin(MarginSide::Left), 5.0);
    QTRY_VERIFY(preview->grab().toImage() != before);
    QTest::mouseClick(child<QRadioButton>(d.get(), "landscape"), Qt::LeftButton);
    shot(d.get(), "page_setup_landscape");
  }

  void unreadablePrinterEndsAtOnce() {
    m_printer.readable[0] = false;
    QVERIFY(!PageSetupDialog::run(*m_app, m_printer.facts(), nullptr));
    QCOMPARE(lastMessage(), std::string("ERREUR\n\nImpression du document impossible !"));
    QCOMPARE(m_printer.asked, std::vector<int>{0});
    QVERIFY(!m_store.read("rMakeUp", "Orient"));
  }

  void runIsTrueWhenOkStored() {
    QTimer::singleShot(0, [] {
      auto* d = qobject_cast<PageSetupDialog*>(QApplication::activeModalWidget());
      if (!d) return;
      QLineEdit* bottom = d->marginField(MarginSide::Bottom);
      bottom->selectAll();
      QTest::keyClicks(bottom, QStringLiteral("3"));
      QTest::keyClick(bottom, Qt::Key_Return);
    });
    QVERIFY(PageSetupDialog::run(*m_app, m_printer.facts(), nullptr));
    QCOMPARE(m_app->pageSetup.bottomMargin, 3.0);
    QCOMPARE(*m_store.read("rMakeUp", "bMargin"), std::string("300"));

    QTimer::singleShot(0, [] {
      if (auto* d = qobject_cast<PageSetupDialog*>(QApplication::activeModalWidget())) d->reject();
    });
    QVERIFY(!PageSetupDialog::run(*m_app, m_printer.facts(), nullptr));
  }
};

QTEST_MAIN(PageSetupDialogTest)
#include "page_setup_dialog_test.moc"
