#include "app/calculator_panel.h"

#include <QMenu>

#include "app/commands.h"

namespace qz {

void CalculatorPanel::fillEditMenu(QMenu* edit) {
  auto add = [&](const QString& text, int id, const QKeySequence& keys) {
    QAction* action = edit->addAction(text);
    action->setData(id);
    action->setShortcut(keys);
  };
  add(QStringLiteral("&Copier"), kCmdCopy, QKeySequence::Copy);
  add(QStringLiteral("C&oller"), kCmdPaste, QKeySequence::Paste);
}

}  // namespace qz
