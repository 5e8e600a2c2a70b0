// A standard calculator with a scripted messenger, driven by key words.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>
#include <vector>

#include "numbers/cp1252.h"
#include "platform/scripted_messenger.h"
#include "standard/key_script.h"
#include "standard/standard_calculator.h"

namespace qz {

class StandardFixture : public ::testing::Test {
 protected:
  ScriptedMessenger messenger;
  TapeEngine engine{messenger};
  std::array<double, 10> memories{};
  StandardCalculator calc{engine, memories, messenger};

  /// Runs words separated by blanks; an unknown word fails the test.
  void run(const std::string& words) {
    std::istringstream in(words);
    std::string word;
    while (in >> word) ASSERT_NE(runScriptKey(calc, word, messenger), ScriptOutcome::Unknown) << word;
  }
  /// Every entry as drawn, without its indent, joined by single blanks.
  std::string tape() const {
    std::string out;
    for (int i = 0; i < engine.tape().count(); ++i) {
      std::string line = calc.line(i).plainUtf8();
      line.erase(0, line.find_first_not_of(' '));
      if (!out.empty()) out += ' ';
      out += line;
    }
    return out;
  }
  const TapeEntry& entry(int i) const { return engine.tape()[i]; }
  const TapeEntry& last() const { return engine.tape()[engine.tape().count() - 1]; }
  /// The texts of the boxes shown, in UTF-8.
  std::vector<std::string> boxes() const {
    std::vector<std::string> out;
    for (const auto& box : messenger.boxes()) out.push_back(cp1252ToUtf8(box.text));
    return out;
  }
};

}  // namespace qz
