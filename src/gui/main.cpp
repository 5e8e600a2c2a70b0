// qz: the desktop program.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QTimer>
#include <QTranslator>
#include <QWidget>
#include <clocale>
#include <cstdio>
#include <memory>

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

// For the manual's pictures (scripts/manual_pictures.sh): opens one calculator,
// saves a picture of its window once it is shown and laid out, and quits.
class SnapshotCalculator : public QObject {
 public:
  SnapshotCalculator(qz::QzApplication& qzApp, int calculator, QString file)
      : m_qzApp(qzApp), m_file(std::move(file)) {
    qzApp.app().currentCalculator = calculator;
    connect(&m_poll, &QTimer::timeout, this, &SnapshotCalculator::poll);
    m_poll.start(100);
  }

 private:
  void poll() {
    QWidget* window = m_qzApp.calculatorWindow();
    // A few turns after the window shows, so its layouts and figure are final.
    if (!window || !window->isVisible() || ++m_turnsShown < 5) return;
    m_poll.stop();
    if (!window->grab().save(m_file)) {
      std::fprintf(stderr, "qz: cannot write %s\n", qPrintable(m_file));
      QApplication::exit(1);
      return;
    }
    // exit(), not quit(): a calculator window may refuse the close that quit() asks of it.
    QApplication::exit(0);
  }

  qz::QzApplication& m_qzApp;
  QString m_file;
  QTimer m_poll;
  int m_turnsShown = 0;
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
  std::unique_ptr<SnapshotCalculator> snapshot;
  if (const QString file = qEnvironmentVariable("QZ_SNAPSHOT"); !file.isEmpty())
    snapshot = std::make_unique<SnapshotCalculator>(qzApp, qEnvironmentVariableIntValue("QZ_SNAPSHOT_CALCULATOR"), file);
  int code = QApplication::exec();
  settings.sync();
  return code;
}
