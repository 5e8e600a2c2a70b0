#include "platform/qt_messenger.h"

#include <QApplication>
#include <QAbstractButton>
#include <QMessageBox>

#include "numbers/cp1252.h"

namespace qz {

MessageAnswer QtMessenger::showBox(const std::string& text, MessageStyle style) {
  QWidget* parent = m_parent ? m_parent.data() : QApplication::activeWindow();
  QMessageBox box(parent);
  box.setWindowTitle(m_title);
  box.setText(QString::fromStdString(cp1252ToUtf8(text)));
  switch (style) {
    case MessageStyle::Error: box.setIcon(QMessageBox::Critical); break;
    case MessageStyle::Warning: box.setIcon(QMessageBox::Warning); break;
    case MessageStyle::Information: box.setIcon(QMessageBox::Information); break;
    case MessageStyle::YesNo: box.setIcon(QMessageBox::Warning); break;
  }
  if (style == MessageStyle::YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Oui"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&Non"));
  } else {
    box.setStandardButtons(QMessageBox::Ok);
  }
  int answer = box.exec();
  if (style != MessageStyle::YesNo) return MessageAnswer::Ok;
  return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

void QtMessenger::playSound(BeepKind) { QApplication::beep(); }

}  // namespace qz
