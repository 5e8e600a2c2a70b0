#include "numbers/messages.h"

#include "numbers/real_format.h"
#include "numbers/string_table.h"

namespace qz {

std::string replaceFirstAt(std::string text, std::string_view argument) {
  std::size_t at = text.find('@');
  if (at != std::string::npos) text.replace(at, 1, argument);
  return text;
}

std::string LoadMessageText(int textId, std::string_view argument) {
  std::string text = LoadString(textId);
  return argument.empty() ? text : replaceFirstAt(std::move(text), argument);
}

void SoundBeep(Messenger& messenger, BeepKind kind) {
  if (messenger.beepEnabled()) messenger.playSound(kind);
}

MessageAnswer ShowMessage(Messenger& messenger, int captionId, int textId, std::string_view text,
                          MessageStyle style) {
  std::string body = textId != 0 ? LoadString(textId) : std::string(text);
  std::string box = captionId != 0 ? LoadString(captionId) + "\n\n" + body : body;
  if (captionId == kCaptionError) SoundBeep(messenger, BeepKind::Error);
  if (captionId == kCaptionAttention) SoundBeep(messenger, BeepKind::Information);
  return messenger.showBox(box, style);
}

MessageAnswer ShowValueMessage(Messenger& messenger, int textId, double value) {
  std::string text = LoadString(textId);
  // The texts hold at most one conversion for a double ("Valeur (%g) interdite !").
  if (text.find('%') != std::string::npos) text = formatDouble(text.c_str(), value);
  return ShowMessage(messenger, kCaptionError, 0, text, MessageStyle::Warning);
}

bool Confirm(Messenger& messenger, int textId, std::string_view text) {
  return ShowMessage(messenger, kCaptionAttention, textId, text, MessageStyle::YesNo) == MessageAnswer::Yes;
}

}  // namespace qz
