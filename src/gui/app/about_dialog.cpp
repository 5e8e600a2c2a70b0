#include "app/about_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "app/launcher.h"
#include "platform/qt_text.h"

namespace qz {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("A propos de QZ"));
  auto* layout = new QVBoxLayout(this);
  auto* text = new QLabel(this);
  text->setTextFormat(Qt::RichText);
  text->setText(QStringLiteral("<h2>QZ</h2><p>Calculettes de l'ingénieur et du technicien :<br>"
                               "standard, scientifique, statistique, géométrique et conversion d'unité.</p>"
                               "<p>%1</p><p>KELDORAN</p>")
                    .arg(cp1252ToQString(versionLine(versionText(2, 1, QZ_FILE_VERSION_PATCH),
                                                     std::string(__DATE__).substr(7)))));
  layout->addWidget(text);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
}

}  // namespace qz
