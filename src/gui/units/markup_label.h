// A static text drawn from markup (code page 1252): unit symbols with their
// Greek letters, subscripts and exponents.
#pragma once

#include <QWidget>
#include <string>

#include "platform/canvas.h"

namespace qz {

class MarkupLabel : public QWidget {
  Q_OBJECT
 public:
  explicit MarkupLabel(QWidget* parent = nullptr);

  void setMarkup(const std::string& markup);
  const std::string& markup() const { return m_markup; }
  void setBaseFont(const FontSpec& font);
  void setColour(Rgb colour) {
    m_colour = colour;
    update();
  }
  /// With a sunken light frame, as the window's display areas.
  void setFramed(bool on) {
    m_framed = on;
    update();
  }

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::string m_markup;
  FontSpec m_font{"Arial", -16, 400};
  Rgb m_colour{0, 0, 128};
  bool m_framed = true;
};

}  // namespace qz
