#include "platform/scripted_messenger.h"

#include "numbers/cp1252.h"

namespace qz {

std::string ScriptedMessenger::lastTextUtf8() const {
  return m_boxes.empty() ? std::string() : cp1252ToUtf8(m_boxes.back().text);
}

}  // namespace qz
