#include "standard/memory_boxes.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QPainter>
#include <QPushButton>
#include <cstring>

#include "platform/painter_canvas.h"
#include "platform/qt_text.h"
#include "standard/standard_calculator.h"

namespace qz {

namespace {

constexpr int kShadowOffset = 2;
constexpr int kRowsPerColumn = 5;

}  // namespace

MemoryBox::MemoryBox(const StandardCalculator& calculator, int memory, QWidget* parent)
    : QWidget(parent), m_calculator(calculator), m_memory(memory) {
  m_font = PainterCanvas::qtFont({"Arial", -13, 400});
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize MemoryBox::sizeHint() const { return QSize(110, 22); }

QString MemoryBox::valueText() const {
  const QFontMetrics metrics(m_font);
  const int boxWidth = width() - kShadowOffset;
  return cp1252ToQString(m_calculator.memoryBoxText(m_memory, boxWidth, [&](std::string_view text) {
    return metrics.horizontalAdvance(cp1252ToQString(std::string(text)));
  }));
}

void MemoryBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRect box(0, 0, width() - kShadowOffset, height() - kShadowOffset);
  p.fillRect(box.translated(kShadowOffset, kShadowOffset), QColor(128, 128, 128));
  p.fillRect(box, QColor(192, 192, 192));
  p.setFont(m_font);
  p.setPen(QColor(0, 128, 0));
  const int margin = StandardCalculator::kTextInset;
  p.drawText(box.adjusted(margin, 0, -margin, 0), Qt::AlignLeft | Qt::AlignVCenter, valueText());
}

MemoryBoxes::MemoryBoxes(const StandardCalculator& calculator, QWidget* parent)
    : QGroupBox(QStringLiteral("Mémoires"), parent), m_calculator(calculator) {
  auto* grid = new QGridLayout(this);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(3);
  grid->setContentsMargins(10, 4, 10, 8);
  for (int i = 0; i < 10; ++i) {
    auto* button = new QPushButton(QStringLiteral("M%1").arg(i), this);
    button->setAutoDefault(false);
    button->setFixedSize(40, 22);
    button->setToolTip(QStringLiteral("Utiliser la mémoire M%1").arg(i));
    auto* box = new MemoryBox(calculator, i, this);
    const int row = i % kRowsPerColumn;
    const int column = (i / kRowsPerColumn) * 2;
    grid->addWidget(button, row, column);
    grid->addWidget(box, row, column + 1);
    m_buttons[static_cast<std::size_t>(i)] = button;
    m_boxes[static_cast<std::size_t>(i)] = box;
    m_shown[static_cast<std::size_t>(i)] = calculator.memory(i);
    connect(button, &QPushButton::clicked, this, [this, i] { emit memoryButtonClicked(i); });
  }
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);
}

void MemoryBoxes::refresh() {
  for (int i = 0; i < 10; ++i) {
    const double value = m_calculator.memory(i);
    auto& shown = m_shown[static_cast<std::size_t>(i)];
    // Compared bit for bit: a memory that changes from 0 to -0 is redrawn too.
    if (std::memcmp(&shown, &value, sizeof value) != 0) {
      shown = value;
      m_boxes[static_cast<std::size_t>(i)]->update();
    }
  }
}

}  // namespace qz
