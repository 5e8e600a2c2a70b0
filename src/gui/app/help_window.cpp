#include "app/help_window.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "app/calc_app.h"
#include "files/file_access.h"
#include "files/file_places.h"
#include "files/shell_open.h"
#include "numbers/messages.h"
#include "platform/places.h"

namespace qz {

namespace {

const char* kCalculatorAnchors[] = {"standard", "scientifique", "statistique", "geometrique", "conversion"};

QString helpFile() {
  QString folder = QString::fromStdString(shippedDataFolder(QCoreApplication::applicationDirPath().toStdString()));
  return QDir(folder).filePath(QStringLiteral("help/qz_aide.html"));
}

}  // namespace

void HelpWindow::showTopic(const QString& anchor, QWidget* parent) {
  auto* dialog = new QDialog(parent);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setWindowTitle(QStringLiteral("Aide de QZ"));
  dialog->resize(640, 560);
  auto* layout = new QVBoxLayout(dialog);
  auto* browser = new QTextBrowser(dialog);
  browser->setOpenExternalLinks(true);
  layout->addWidget(browser);
  QUrl url = QUrl::fromLocalFile(helpFile());
  if (!anchor.isEmpty()) url.setFragment(anchor);
  browser->setSource(url);
  if (!QFileInfo::exists(helpFile()))
    browser->setHtml(QStringLiteral("<p>L'aide de QZ est introuvable : %1</p>").arg(helpFile().toHtmlEscaped()));
  dialog->show();
}

void HelpWindow::showFor(int calculator, const CalcApp&, QWidget* parent) {
  showTopic(calculator >= 0 && calculator < 5 ? QString::fromLatin1(kCalculatorAnchors[calculator]) : QString(), parent);
}

void openUserManual(CalcApp& app, QWidget*) {
  const std::string path = BuildProgramPath("DOCS/MANUEL_QZ2", "PDF", BaseLocation::Program, app.places());
  int result = 33;  // opened
  if (!FileExists(path))
    result = kShellFileNotFound;
  else if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path))))
    result = kShellNoAssociation;
  if (result > 32) return;
  ShowMessage(app.messenger(), kCaptionError, 0, ShellFailureText(result, "READER", path, ""), MessageStyle::Error);
  if (result == kShellNoAssociation)
    ShowMessage(app.messenger(), kCaptionError, kNoPdfReaderMessage, {}, MessageStyle::Error);
}

}  // namespace qz
