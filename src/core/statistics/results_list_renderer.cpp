#include "statistics/results_list_renderer.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "statistics/results_list.h"

namespace qz {

namespace {

// Font heights are given for 96 dots per inch.
FontSpec scaled(FontSpec font, Canvas& canvas, int delta) {
  const double factor = canvas.dpiY() / 96.0;
  const int sign = font.height < 0 ? -1 : 1;
  const int magnitude = std::max(1, std::abs(font.height) + delta);
  font.height = sign * static_cast<int>(std::lround(magnitude * factor));
  return font;
}

int averageCharWidth(Canvas& canvas, const ResultsListStyle& style) {
  static const std::string kAlphabet = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
  canvas.setFont(scaled(style.textFont, canvas, 0));
  const int width = canvas.measureText(kAlphabet).width;
  return std::max(1, static_cast<int>(std::lround(static_cast<double>(width) / kAlphabet.size())));
}

struct RunState {
  bool blue = false, green = false, red = false;
  bool greek = false, sub = false, sup = false, overline = false, field = false;

  void apply(char code) {
    switch (code) {
      // In this list the colours exclude each other: turning one on turns the others off.
      case markup::kBlue:
        blue = !blue;
        green = red = false;
        break;
      case markup::kGreen:
        green = !green;
        blue = red = false;
        break;
      case markup::kRed:
        red = !red;
        blue = green = false;
        break;
      case markup::kGreek:
        greek = !greek;
        break;
      case markup::kSubscript:
        sub = !sub;
        break;
      case markup::kSuperscript:
        sup = !sup;
        break;
      case markup::kOverline:
        overline = !overline;
        break;
      case markup::kField:
        field = !field;
        break;
      default:  // bold, underline and italic do not show in the list
        break;
    }
  }
};

}  // namespace

int resultsListLineHeight(Canvas& canvas, const ResultsListStyle& style) {
  canvas.setFont(scaled(style.textFont, canvas, 0));
  return std::max(1, canvas.measureText("Xg").height);
}

int resultsListLineAt(Canvas& canvas, const ResultsListStyle& style, const Rect& area, int y) {
  if (y < area.top) return -1;
  return (y - area.top) / (resultsListLineHeight(canvas, style) + 1);
}

void drawResultsList(Canvas& canvas, const Rect& area, const std::vector<std::string>& lines, int highlighted,
                     const ResultsListStyle& style) {
  canvas.fillRect(area, style.windowBackground);
  canvas.setClip(area);
  const int lineHeight = resultsListLineHeight(canvas, style);
  const int advance = averageCharWidth(canvas, style);
  const int unit = std::max(1, static_cast<int>(std::lround(canvas.dpiY() / 96.0)));

  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int top = area.top + static_cast<int>(i) * (lineHeight + 1);
    if (top >= area.bottom) break;
    const bool isHighlighted = static_cast<int>(i) == highlighted;
    const std::string& line = lines[i];
    RunState state;
    int x = area.left;
    std::size_t pos = 0;
    while (pos <= line.size()) {
      std::size_t end = pos;
      while (end < line.size() && !markup::isCode(line[end])) ++end;
      std::string run = line.substr(pos, end - pos);
      if (!run.empty()) {
        const int delta = state.greek ? 1 : (state.sub || state.sup) ? -2 : 0;
        canvas.setFont(scaled(state.greek ? style.greekFont : style.textFont, canvas, delta));
        const Size size = canvas.measureText(run);
        int y = top;
        if (state.greek) y -= unit;
        if (state.sub) y += size.height / 3;
        if (state.sup) y -= size.height / 3;
        Rgb colour = state.blue    ? Rgb{0, 0, 255}
                     : state.green ? Rgb{0, 128, 0}
                     : state.red   ? Rgb{255, 0, 0}
                                   : style.windowText;
        const int width = static_cast<int>(run.size()) * advance;
        if (state.field) {
          canvas.fillRect({x, top, x + std::max(width, size.width), top + lineHeight},
                          isHighlighted ? style.highlight : style.windowBackground);
          if (isHighlighted) colour = style.windowBackground;
        }
        canvas.setTextColour(colour);
        canvas.drawText({x, y}, run);
        if (state.overline) {
          const bool capital = std::any_of(
              run.begin(), run.end(), [](char c) { return std::isupper(static_cast<unsigned char>(c)); });
          const int lineY = capital ? top - size.height / 6 : top + size.height / 6;
          canvas.setPen({colour, 1, PenStyle::Solid});
          canvas.drawLine({x, lineY}, {x + size.width, lineY});
        }
        x += width;
      }
      if (end >= line.size()) break;
      state.apply(line[end]);
      pos = end + 1;
    }
  }
  canvas.clearClip();
}

}  // namespace qz
