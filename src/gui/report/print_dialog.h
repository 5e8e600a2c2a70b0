// The print dialog of the calculation report and of the diagram: where the
// pages go, how many copies, which pages.
#pragma once

#include <QDialog>
#include <functional>

#include "report/report_layout.h"

class QLabel;
class QPushButton;
class QSpinBox;

namespace qz {

/// What the dialog says of the printer.
struct PrintTarget {
  QString name;      ///< the printer's name; empty without a printer
  QString location;  ///< its port or location
  bool canChange = false;
};

class PrintDialog : public QDialog {
  Q_OBJECT
 public:
  /// `diagram`: " Imprimer le diagramme", else " Imprimer la note de calcul".
  PrintDialog(bool diagram, int pageCount, const PrintTarget& target, QWidget* parent = nullptr);

  /// "&Changer" asks this for another printer; it answers the new target and
  /// page count, or nothing when the user kept the printer.
  using ChangePrinter = std::function<std::optional<std::pair<PrintTarget, int>>()>;
  void setChangePrinter(ChangePrinter change) { m_change = std::move(change); }

  /// The choice as printed: range within the pages and in order, copies 1 to 100.
  PrintRange range() const;
  int pageCount() const { return m_pageCount; }

  QSpinBox* copiesBox() const { return m_copies; }
  QSpinBox* fromBox() const { return m_from; }
  QSpinBox* toBox() const { return m_to; }
  QPushButton* allButton() const { return m_all; }
  QPushButton* changeButton() const { return m_changeButton; }
  QPushButton* printButton() const { return m_print; }
  QLabel* printerLabel() const { return m_printer; }
  QLabel* pagesText() const { return m_pagesText; }

 private:
  void showTarget(const PrintTarget& target);
  void showPageCount(int pageCount);
  void changePrinter();

  int m_pageCount = 1;
  ChangePrinter m_change;
  QLabel* m_printer;
  QLabel* m_location;
  QLabel* m_note;
  QPushButton* m_changeButton;
  QSpinBox* m_copies;
  QLabel* m_pagesText;
  QSpinBox* m_from;
  QSpinBox* m_to;
  QPushButton* m_all;
  QPushButton* m_print;
};

}  // namespace qz
