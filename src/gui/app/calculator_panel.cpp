#include "app/calculator_panel.h"

#include <QMenu>

#include "app/commands.h"

namespace qz {

QAction* addCommandAction(QMenu* menu, const QString& text, int id, const QKeySequence& keys) {
  QAction* action = menu->addAction(text);
  action->setData(id);
  if (!keys.isEmpty()) action->setShortcut(keys);
  return action;
}

QAction* addCommandAction(QMenu* menu, const QString& text, int id) { return addCommandAction(menu, text, id, {}); }

void CalculatorPanel::fillEditMenu(QMenu* edit) {
  addCommandAction(edit, QStringLiteral("&Copier"), kCmdCopy, QKeySequence::Copy);
  addCommandAction(edit, QStringLiteral("C&oller"), kCmdPaste, QKeySequence::Paste);
}

}  // namespace qz
