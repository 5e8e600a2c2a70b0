// Messenger for tests and batch use: records every box and sound, answers
// questions from a script.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/messenger.h"

namespace qz {

class ScriptedMessenger : public Messenger {
 public:
  struct Box {
    std::string text;  ///< code page 1252, as shown
    MessageStyle style;
  };

  /// Queues the answer to the next Yes/No question; unqueued questions get `defaultAnswer`.
  void answerNext(MessageAnswer answer) { m_answers.push_back(answer); }
  void setDefaultAnswer(MessageAnswer answer) { m_defaultAnswer = answer; }

  MessageAnswer showBox(const std::string& text, MessageStyle style) override {
    m_boxes.push_back({text, style});
    if (style != MessageStyle::YesNo) return MessageAnswer::Ok;
    if (m_answers.empty()) return m_defaultAnswer;
    MessageAnswer a = m_answers.front();
    m_answers.pop_front();
    return a;
  }
  void playSound(BeepKind kind) override { m_sounds.push_back(kind); }

  const std::vector<Box>& boxes() const { return m_boxes; }
  const std::vector<BeepKind>& sounds() const { return m_sounds; }
  /// The text of the last box, converted to UTF-8 ("" when none was shown).
  std::string lastTextUtf8() const;
  void clear() {
    m_boxes.clear();
    m_sounds.clear();
  }

 private:
  std::vector<Box> m_boxes;
  std::vector<BeepKind> m_sounds;
  std::deque<MessageAnswer> m_answers;
  MessageAnswer m_defaultAnswer = MessageAnswer::Yes;
};

}  // namespace qz
