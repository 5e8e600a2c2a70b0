// The one way the core shows a message box, asks a question or beeps.
#pragma once

#include <string>

namespace qz {

/// Buttons and icon of a message box.
enum class MessageStyle {
  Error,        ///< OK, stop icon
  Warning,      ///< OK, exclamation icon
  Information,  ///< OK, information icon
  YesNo,        ///< Yes and No, exclamation icon
};

enum class MessageAnswer { Ok, Yes, No };

/// Sounds: error, warning (a refused keystroke) and information.
enum class BeepKind { Error = 0, Warning = 1, Information = 2 };

/// Implemented by the GUI with message boxes and the system bell, and by a
/// scripted messenger in tests. Texts are code page 1252 bytes.
class Messenger {
 public:
  virtual ~Messenger() = default;

  /// Shows `text` in a modal box with the application's title; returns the button pressed.
  virtual MessageAnswer showBox(const std::string& text, MessageStyle style) = 0;
  /// Plays a sound; the caller has already checked the beep option.
  virtual void playSound(BeepKind kind) = 0;

  bool beepEnabled() const { return m_beepEnabled; }
  void setBeepEnabled(bool on) { m_beepEnabled = on; }

 private:
  bool m_beepEnabled = true;
};

}  // namespace qz
