#include "statistics/results_list.h"

#include "numbers/cp1252.h"
#include "numbers/number_check.h"
#include "numbers/real_format.h"
#include "numbers/symbol_font.h"

namespace qz {


namespace {

using namespace markup;

std::string value9(double v) { return formatDouble("%.9G", v); }

// A label line: the label in blue, then the value in its field, then `after`.
std::string labelLine(const std::string& label, const std::string& value, const std::string& after = {}) {
  return std::string(1, kBlue) + label + " =" + kBlue + ' ' + kField + value + kField + after;
}

std::string g(const char* letters) { return std::string(1, kGreek) + letters + kGreek; }
std::string sub(const char* text) { return std::string(1, kSubscript) + text + kSubscript; }
std::string sup(const char* text) { return std::string(1, kSuperscript) + text + kSuperscript; }
std::string over(const char* text) { return std::string(1, kOverline) + text + kOverline; }

}  // namespace

std::vector<std::string> buildResultsList(const StatResults& r, StatMode mode) {
  std::vector<std::string> lines;
  auto add = [&lines](std::string line) {
    if (lines.size() < kResultsListCapacity) lines.push_back(std::move(line));
  };
  auto blank = [&add] { add({}); };
  auto commonMoments = [&](bool withBlanks) {
    if (withBlanks) blank();
    add(labelLine(over("x") + " ......", value9(r.meanX)));
    if (withBlanks) blank();
    add(labelLine("var(x) .", value9(r.varX)));
    if (withBlanks) blank();
    add(labelLine(g("s") + sub("x") + " .....", value9(r.sigmaX)));
    if (r.sX >= 0) add(labelLine("s" + sub("x") + " .....", value9(r.sX)));
  };

  add(labelLine("n ......", std::to_string(r.n), " r\xE9sultats"));
  switch (mode) {
    case StatMode::Values:
      blank();
      add(labelLine(g("S") + "x .....", value9(r.sumX)));
      add(labelLine(g("S") + "x" + sup("2") + " ....", value9(r.sumX2)));
      commonMoments(true);
      break;
    case StatMode::Frequencies:
      blank();
      add(labelLine(g("S") + "nx ....", value9(r.sumX)));
      add(labelLine(g("S") + "nx" + sup("2") + " ...", value9(r.sumX2)));
      commonMoments(true);
      blank();
      if (r.r2 >= 0) add(labelLine("r" + sup("2") + "......", value9(r.r2)));
      break;
    case StatMode::Pairs:
      add(labelLine(g("S") + "x .....", value9(r.sumX)));
      add(labelLine(g("S") + "x" + sup("2") + " ....", value9(r.sumX2)));
      add(labelLine(g("S") + "y .....", value9(r.sumY)));
      add(labelLine(g("S") + "y" + sup("2") + " ....", value9(r.sumY2)));
      add(labelLine(g("S") + "xy ....", value9(r.sumXY)));
      add(labelLine(over("x") + " ......", value9(r.meanX)));
      add(labelLine(over("y") + " ......", value9(r.meanY)));
      add(labelLine("var(x) .", value9(r.varX)));
      add(labelLine("var(y) .", value9(r.varY)));
      add(labelLine("cov(x,y)", value9(r.covXY)));
      add(labelLine(g("s") + sub("x") + " .....", value9(r.sigmaX)));
      add(labelLine(g("s") + sub("y") + " .....", value9(r.sigmaY)));
      if (r.sX >= 0) add(labelLine("s" + sub("x") + " .....", value9(r.sX)));
      if (r.sY >= 0) add(labelLine("s" + sub("y") + " .....", value9(r.sY)));
      if (r.r2 >= 0) {
        add(labelLine("a ......", value9(r.a), std::string(" ") + kGreen + "(y = a.x + b)"));
        add(labelLine("b ......", value9(r.b)));
        add(labelLine("r" + sup("2") + "......", formatDouble("%G", r.r2),
                      std::string(" ") + kGreen + "(coef. de corr.)"));
      }
      break;
  }
  return lines;
}

std::optional<std::string> resultLineNumber(const std::string& line) {
  std::string plain = stripMarkup(line);
  std::size_t equals = plain.find('=');
  if (equals == std::string::npos) return std::nullopt;
  std::string text = plain.substr(equals + 1);
  ExtractNumber(text);
  if (text.empty()) return std::nullopt;
  return text;
}

}  // namespace qz
