// The ten memory buttons "M0" to "M9" of the standard calculator, each with a
// box that shows the memory's value.
#pragma once

#include <QGroupBox>
#include <array>

class QPushButton;

namespace qz {

class StandardCalculator;

/// One memory's value: a light grey box over a darker copy offset by 2
/// pixels, the value in green with the largest precision that fits.
class MemoryBox : public QWidget {
  Q_OBJECT
 public:
  MemoryBox(const StandardCalculator& calculator, int memory, QWidget* parent = nullptr);
  /// The text the box shows now ("" when no precision fits).
  QString valueText() const;
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const StandardCalculator& m_calculator;
  int m_memory;
  QFont m_font;
};

class MemoryBoxes : public QGroupBox {
  Q_OBJECT
 public:
  explicit MemoryBoxes(const StandardCalculator& calculator, QWidget* parent = nullptr);

  /// Repaints the boxes whose memory changed since they were last drawn.
  void refresh();
  QPushButton* button(int i) const { return m_buttons[static_cast<std::size_t>(i)]; }
  MemoryBox* box(int i) const { return m_boxes[static_cast<std::size_t>(i)]; }

 signals:
  /// Button "Mi" was clicked.
  void memoryButtonClicked(int i);

 private:
  const StandardCalculator& m_calculator;
  std::array<QPushButton*, 10> m_buttons{};
  std::array<MemoryBox*, 10> m_boxes{};
  std::array<double, 10> m_shown{};
};

}  // namespace qz
