// Composing and showing the program's messages.
#pragma once

#include <string>
#include <string_view>

#include "platform/messenger.h"

namespace qz {

/// Caption words of the message boxes.
enum CaptionId : int {
  kCaptionError = 142,       ///< "ERREUR", error sound
  kCaptionAttention = 143,   ///< "ATTENTION", information sound; confirmations
  kCaptionCheck = 144,       ///< "CONTRÔLE"
  kCaptionImpossible = 147,  ///< "CALCUL IMPOSSIBLE"
  kCaptionNote = 165,        ///< "NOTA :"
};

/// String `textId` with its first "@" replaced by `argument` (when one is given).
std::string LoadMessageText(int textId, std::string_view argument = {});
/// Same, for a text already loaded.
std::string replaceFirstAt(std::string text, std::string_view argument);

/// Shows caption word, blank line, body (string `textId`, or `text` when
/// `textId` is 0); sounds the caption's beep. Texts are code page 1252.
MessageAnswer ShowMessage(Messenger& messenger, int captionId, int textId, std::string_view text,
                          MessageStyle style);

/// An error whose text (string `textId`) is a printf format for `value`.
MessageAnswer ShowValueMessage(Messenger& messenger, int textId, double value);

/// A confirmation under "ATTENTION"; true only when the user answers Yes.
bool Confirm(Messenger& messenger, int textId, std::string_view text = {});

/// Plays a sound when the beep option is on.
void SoundBeep(Messenger& messenger, BeepKind kind);

}  // namespace qz
