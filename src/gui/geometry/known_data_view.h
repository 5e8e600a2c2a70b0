// The "Données connues " grid: nine rows of name and value, with an in-place
// editor over the value of the row being changed. A datum is removed with
// Suppr on the selected row or from the row's context menu.
#pragma once

#include <QLineEdit>
#include <QWidget>

namespace qz {

class GeometryModel;

/// The in-place editor: tells when it loses the focus, and when Échap asks
/// to leave it for the grid (where Suppr removes the row).
class RowEditor : public QLineEdit {
  Q_OBJECT
 public:
  using QLineEdit::QLineEdit;

 signals:
  void left();
  void escaped();

 protected:
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};

class KnownDataView : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kRowCount = 9;

  explicit KnownDataView(GeometryModel& model, QWidget* parent = nullptr);

  RowEditor* editor() const { return m_editor; }
  /// Opens the editor on row `r`, pre-filled with its value, text selected.
  void openEditor(int r);
  /// Hides the editor (its text is not taken).
  void hideEditor();
  bool editorOpen() const { return m_editor->isVisible(); }
  /// Row of the editor, -1 when closed.
  int editorRow() const { return editorOpen() ? m_editorRow : -1; }
  /// Value cell of row `r`, in this widget's coordinates.
  QRect valueCell(int r) const;
  QRect nameCell(int r) const;
  QSize minimumSizeHint() const override;
  /// Row holding a datum under `p`, -1 when none.
  int rowAt(QPoint p) const;

  static QString removeText() { return QStringLiteral("Retirer cette donnée"); }

 signals:
  /// A row holding a datum was clicked.
  void rowClicked(int row);
  /// Row `row` is to stop being a datum (Suppr, or its context menu).
  void removeRequested(int row);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  int rowHeight() const;
  int nameWidth() const;

  GeometryModel& m_model;
  RowEditor* m_editor;
  int m_editorRow = -1;
};

}  // namespace qz
