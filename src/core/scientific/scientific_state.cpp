#include "scientific/scientific_state.h"

#include <algorithm>

#include "document/section_text.h"

namespace qz {

bool scientificReportWanted(const ScientificState& state) {
  return !state.expression.empty() && !state.results.empty();
}

bool scientificSectionWanted(const ScientificState& state) {
  return (!state.expression.empty() && state.expression != "y=0") || !state.constants.empty() ||
         !state.results.empty();
}

std::string writeScientificSection(const ScientificState& state) {
  SectionWriter w;
  w.line().integer(state.angleUnit == AngleUnit::Degrees ? 1 : 0);
  w.textLine(state.expression);
  // One line per definition: carriage returns and leading line feeds go,
  // and the text ends with one line feed of its own.
  std::string constants;
  for (char c : state.constants)
    if (c != '\r') constants += c;
  constants.erase(0, constants.find_first_not_of('\n') == std::string::npos
                         ? constants.size()
                         : constants.find_first_not_of('\n'));
  std::size_t start = 0;
  while (true) {
    std::size_t lf = constants.find('\n', start);
    w.textLine(
        std::string_view(constants).substr(start, lf == std::string::npos ? std::string::npos : lf - start));
    if (lf == std::string::npos) break;
    start = lf + 1;
  }
  w.textLine(".");
  w.line().integer(static_cast<long long>(state.results.size()));
  for (const ResultPair& row : state.results) w.line().real(row.x).real(row.y);
  return w.finish();
}

void resetScientificState(ScientificState& state) {
  state.angleUnit = AngleUnit::Degrees;
  state.expression = "y=0";
  state.constants.clear();
  state.results.clear();
}

void readScientificSection(std::string_view body, ScientificState& state) {
  resetScientificState(state);
  SectionReader r(body);
  state.angleUnit = r.nextFields().flag(0) ? AngleUnit::Degrees : AngleUnit::Radians;
  state.expression = r.nextLine();
  if (state.expression.size() > kMaxExpressionLength) state.expression.resize(kMaxExpressionLength);
  // Constants up to the line "."; a section cut short stops at its end.
  while (!r.atEnd()) {
    std::string line = r.nextLine();
    if (line == "." || line == "<EOB>") break;
    if (!state.constants.empty()) state.constants += "\r\n";
    state.constants += line;
  }
  if (state.constants.size() > kMaxConstantsLength) state.constants.resize(kMaxConstantsLength);
  int count = std::clamp(r.nextFields().integer(0), 0, static_cast<int>(kMaxResults));
  state.results.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count && !r.atEnd(); ++i) {
    SectionLine row = r.nextFields();
    state.results.push_back({row.real(0), row.real(1)});
  }
}

}  // namespace qz
