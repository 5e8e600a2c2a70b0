// The trend dialog ("  Courbe de tendance"): the fitted line over the points,
// drawn by the diagram renderer; Escape stops a slow drawing; "&Imprimer"
// asks for the diagram page to be printed; "Enregistrer le diagramme..."
// saves it as a PNG or SVG picture.
#pragma once

#include <QDialog>
#include <QImage>
#include <QString>
#include <memory>

#include "statistics/diagram_renderer.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace qz {

class Messenger;
class QtMessenger;

/// The framed area the diagram is drawn in. The drawing goes into a picture
/// outside the paint event, so that a pending Escape can be seen between
/// two points.
class DiagramView : public QWidget {
  Q_OBJECT
 public:
  DiagramView(const DiagramSeries& series, QWidget* parent = nullptr);

  /// Draws the diagram again into the picture; false when Escape stopped it.
  bool render();
  bool interrupted() const { return m_interrupted; }
  bool drawing() const { return m_drawing; }
  /// Escape was pressed: the drawing stops at its next check.
  void interrupt() { m_stop = true; }
  const QImage& picture() const { return m_picture; }
  /// How often a drawing looks at the pending events (milliseconds).
  void setEventCheckInterval(int ms) { m_checkMs = ms; }
  QSize sizeHint() const override { return QSize(580, 340); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  const DiagramSeries& m_series;
  QImage m_picture;
  bool m_drawing = false;
  bool m_stop = false;
  bool m_interrupted = false;
  bool m_again = false;
  int m_checkMs = 30;
};

class TrendDialog : public QDialog {
  Q_OBJECT
 public:
  TrendDialog(DiagramSeries series, QWidget* parent = nullptr);
  ~TrendDialog() override;

  DiagramView* view() const { return m_view; }
  QPushButton* printButton() const { return m_printButton; }
  QPushButton* saveButton() const { return m_saveButton; }
  /// Where the saved picture's messages go and the folder its file dialog
  /// opens in; without them, the dialog's own message boxes and the home folder.
  void setSaveTarget(Messenger* messenger, const QString& folder);
  /// "Enregistrer le diagramme...": asks for a PNG or SVG file and writes the diagram there.
  void saveDiagram();

  // The fit beside the diagram.
  /// Offers the fits (mode 2) with `current` chosen; a choice emits fitChosen.
  void offerFits(int current);
  /// Shows a choice's outcome: the series to draw, the chosen fit (the
  /// previous one again after a refusal) and its results (code page 1252 lines).
  void showFit(DiagramSeries series, int current, const std::string& results);
  QComboBox* fitChoice() const { return m_fitChoice; }
  QLabel* fitResults() const { return m_fitResults; }

 signals:
  /// "&Imprimer": the diagram on a page of its own; the dialog stays open.
  void printRequested();
  /// The user chose the fit of this index (FitKind).
  void fitChosen(int kind);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:

  DiagramSeries m_series;
  DiagramView* m_view;
  QPushButton* m_printButton;
  QPushButton* m_saveButton = nullptr;
  Messenger* m_saveMessenger = nullptr;
  std::unique_ptr<QtMessenger> m_ownMessenger;
  QString m_saveFolder;
  QComboBox* m_fitChoice = nullptr;
  QLabel* m_fitResults = nullptr;
};

}  // namespace qz
