// Message boxes and sounds of the desktop program.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "platform/messenger.h"

namespace qz {

class QtMessenger : public Messenger {
 public:
  /// Boxes open above `parent` (the active window when none) with `title`.
  void setParent(QWidget* parent) { m_parent = parent; }
  void setTitle(const QString& title) { m_title = title; }

  MessageAnswer showBox(const std::string& text, MessageStyle style) override;
  void playSound(BeepKind kind) override;

 private:
  QPointer<QWidget> m_parent;
  QString m_title;
};

}  // namespace qz
