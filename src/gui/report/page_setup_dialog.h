// "  Mise en page des impressions": the report's margins, orientation and font,
// with a preview of the sheet. The rules are in report/page_setup_rules.h; the
// dialog shows them and forwards what the user does.
#pragma once

#include <QDialog>
#include <QPointer>
#include <array>
#include <functional>
#include <optional>

#include "report/page_setup_rules.h"

class QFont;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace qz {

class CalcApp;

/// The printer's page for an orientation (0 portrait, 1 landscape); nothing when it cannot be read.
using PrinterFacts = std::function<std::optional<PrinterPage>(int orientation)>;

class PageSetupDialog : public QDialog {
  Q_OBJECT
 public:
  /// Reads the printer's page for the current orientation; when it cannot,
  /// shows "ERREUR" with string 51 and `factsRead()` is false.
  PageSetupDialog(CalcApp& app, PrinterFacts facts, QWidget* parent = nullptr);
  /// Shows the dialog modally. False at once (after "ERREUR" with string 51) when the printer's
  /// facts cannot be read; true when "OK" stored the new page setup in app.pageSetup and the settings.
  static bool run(CalcApp& app, PrinterFacts facts, QWidget* parent);

  bool factsRead() const { return m_factsRead; }
  /// The page setup as the dialog holds it (not stored before "OK").
  const PageSetupRules& rules() const { return m_rules; }
  QLineEdit* marginField(MarginSide side) const { return m_fields[static_cast<std::size_t>(side)]; }

  /// "OK": the fields are checked first; a refused value keeps the
  /// dialog open. Then the page setup goes to the application and the settings.
  void accept() override;
  /// The report font chooser's "OK" (also called by tests with a chosen font).
  void applyChosenFont(const QFont& font);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  /// Reads the page for `orientation` and applies its minimums; message 51 and
  /// nothing changed when it cannot be read.
  bool takePrinterPage(int orientation);
  /// Checks field `side` as it is left; false when its value was refused.
  bool leaveField(MarginSide side);
  void fieldEdited(MarginSide side, const QString& text);
  void orientationChosen(int orientation);
  void restoreDefaults();
  void applyAgain();
  void chooseFont();
  /// Fields, orientation buttons, preview and font caption from the rules.
  void showState();

  CalcApp& m_app;
  PrinterFacts m_facts;
  PageSetupRules m_rules;
  bool m_factsRead = false;
  bool m_showing = false;
  std::array<QLineEdit*, 4> m_fields{};
  std::array<QString, 4> m_lastGoodText;
  QRadioButton* m_portrait = nullptr;
  QRadioButton* m_landscape = nullptr;
  QWidget* m_preview = nullptr;
  QLabel* m_fontCaption = nullptr;
  /// The widget a click on which left a field whose value was refused.
  QPointer<QWidget> m_pressToSwallow;
};

}  // namespace qz
