// qz: the desktop program.
#include <QApplication>
#include <QStringList>

#include "app/qz_application.h"
#include "files/file_places.h"
#include "platform/places.h"
#include "platform/qt_messenger.h"
#include "platform/qt_settings_store.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("QZ"));
  QApplication::setOrganizationName(QStringLiteral("Keldoran"));

  qz::QtSettingsStore settings;
  qz::QtMessenger messenger;
  qz::FilePlaces places =
      qz::FilePlaces::forUser(qz::shippedDataFolder(QApplication::applicationDirPath().toStdString()));

  // A document path given on the command line becomes the current document.
  QStringList arguments = QApplication::arguments();
  std::string documentPath = arguments.size() > 1 ? arguments.at(1).toStdString() : std::string();

  qz::QzApplication qzApp(settings, messenger, places);
  qzApp.start(documentPath);
  int code = QApplication::exec();
  settings.sync();
  return code;
}
