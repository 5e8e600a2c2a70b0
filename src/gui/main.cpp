// qz: the desktop program.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QTimer>
#include <QTranslator>
#include <clocale>

#include "app/app_icon.h"
#include "app/launcher_page.h"
#include "app/qz_application.h"
#include "files/file_places.h"
#include "platform/places.h"
#include "platform/qt_messenger.h"
#include "platform/qt_settings_store.h"

namespace {

// For the start-up benchmark: ends the program once the start page has been painted.
class QuitAfterFirstPaint : public QObject {
 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) QTimer::singleShot(0, qApp, &QApplication::quit);
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // Qt takes the user's locale for the C library too; the program's numbers
  // are always read and written with a decimal point, whatever the locale.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName(QStringLiteral("QZ"));
  QApplication::setOrganizationName(QStringLiteral("Keldoran"));
  // Every window (start page, calculators, dialogs) shows the program's icon;
  // the desktop file name ties the windows to the menu entry on Wayland.
  QApplication::setWindowIcon(qz::applicationIcon());
  QGuiApplication::setDesktopFileName(QStringLiteral("fr.keldoran.qz"));
  // The program speaks French: Qt's own dialogs (files, printers, fonts) too.
  QTranslator qtFrench;
  if (qtFrench.load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"), QStringLiteral("_"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtFrench);

  qz::QtSettingsStore settings;
  qz::QtMessenger messenger;
  qz::FilePlaces places =
      qz::FilePlaces::forUser(qz::shippedDataFolder(QApplication::applicationDirPath().toStdString()));

  // A document path given on the command line becomes the current document.
  QStringList arguments = QApplication::arguments();
  std::string documentPath = arguments.size() > 1 ? arguments.at(1).toStdString() : std::string();

  qz::QzApplication qzApp(settings, messenger, places);
  qzApp.start(documentPath);
  QuitAfterFirstPaint quitAfterPaint;
  if (qEnvironmentVariableIsSet("QZ_QUIT_AFTER_FIRST_PAINT")) qzApp.page()->installEventFilter(&quitAfterPaint);
  int code = QApplication::exec();
  settings.sync();
  return code;
}
