// What each calculator puts inside the shared calculator window: its content,
// its section of the document, its memory source and target, its own menus.
#pragma once

#include <QWidget>
#include <memory>
#include <optional>
#include <string>

#include "report/report_source.h"

class QAction;
class QKeySequence;
class QMenu;
class QMenuBar;
class QString;

namespace qz {

/// A menu item that runs command `id` (the calculator window dispatches it by
/// the id kept in the action's data), with its shortcut when one is given.
QAction* addCommandAction(QMenu* menu, const QString& text, int id, const QKeySequence& keys);
QAction* addCommandAction(QMenu* menu, const QString& text, int id);

class CalculatorPanel : public QWidget {
  Q_OBJECT
 public:
  using QWidget::QWidget;

  /// Resets the calculator and reads its section body (none: the reset state stays).
  virtual void loadSection(const std::optional<std::string>& body) = 0;
  /// The section body to store, or nothing when the calculator holds no data.
  virtual std::optional<std::string> sectionBody() const = 0;
  /// Takes the fields into the calculator's state; false when a field holds a
  /// refused value (the window then stays open).
  virtual bool commitFields() { return true; }
  /// "Effacer toutes les calculettes": the calculator clears its own state.
  virtual void clearAll() = 0;

  /// The value the memory commands copy or add (exchange text); false when
  /// there is none (the command then beeps).
  virtual bool memoryValue(std::string& valueText) const {
    (void)valueText;
    return false;
  }
  /// Puts a memory's value where the calculator takes input; false when refused.
  virtual bool useMemory(const std::string& valueText) {
    (void)valueText;
    return false;
  }

  /// Fills the "&Edition" menu; the default offers copy and paste.
  virtual void fillEditMenu(QMenu* edit);
  /// Adds the calculator's own top-level menus after "&Edition" (may add none).
  virtual void addOwnMenus(QMenuBar* bar, QMenu* before) {
    (void)bar;
    (void)before;
  }
  /// A command the shared set does not know; true when handled.
  virtual bool command(int id) {
    (void)id;
    return false;
  }
  /// Enabled state of a command in menus and on the toolbar.
  virtual bool commandEnabled(int id) const {
    (void)id;
    return false;
  }
  /// The calculator's calculation report, over its live state; none for a
  /// calculator without one. The window prints and exports through it.
  virtual std::unique_ptr<ReportSource> reportSource() { return nullptr; }

  /// Called every 100 ms while the window runs.
  virtual void tick() {}
  /// Menus are about to open: refresh check marks and texts.
  virtual void aboutToShowMenus() {}

 signals:
  /// The panel's fields changed what the title or menus should show.
  void stateChanged();
  /// A control of the panel asks for a report job (a `ReportJob` value), its
  /// dialogs over `dialogParent` (the trend dialog prints the diagram so).
  void reportRequested(int job, QWidget* dialogParent);
};

/// A calculator whose window holds only the shared frame: it keeps the
/// section it read and gives it back unchanged, so no data is ever lost.
class PreservingPanel : public CalculatorPanel {
  Q_OBJECT
 public:
  using CalculatorPanel::CalculatorPanel;
  void loadSection(const std::optional<std::string>& body) override { m_body = body; }
  std::optional<std::string> sectionBody() const override { return m_body; }
  void clearAll() override { m_body.reset(); }

 private:
  std::optional<std::string> m_body;
};

}  // namespace qz
