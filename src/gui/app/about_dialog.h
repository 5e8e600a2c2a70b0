// "A propos de QZ".
#pragma once

#include <QDialog>

namespace qz {

class AboutDialog : public QDialog {
  Q_OBJECT
 public:
  explicit AboutDialog(QWidget* parent);
};

}  // namespace qz
