#include "app/qz_application.h"

#include <QGuiApplication>
#include <QScreen>

#include "app/calculator_panel.h"
#include "app/calculator_window.h"
#include "app/launcher_page.h"
#include "app/main_frame.h"
#include "app/panel_factory.h"
#include "platform/qt_messenger.h"
#include "platform/qt_text.h"

namespace qz {

QzApplication::QzApplication(SettingsStore& settings, Messenger& messenger, FilePlaces places)
    : m_boxes(dynamic_cast<QtMessenger*>(&messenger)),
      m_app(settings, messenger, std::move(places)) {}

void QzApplication::setBoxParent(QWidget* parent) {
  if (m_boxes) m_boxes->setParent(parent);
}

QzApplication::~QzApplication() = default;

void QzApplication::start(const std::string& commandLinePath) {
  if (m_boxes) m_boxes->setTitle(cp1252ToQString(CalcTitle(false, kNoCalculator, {})));
  m_app.InitInstance(commandLinePath);

  const QString version =
      cp1252ToQString(versionLine(versionText(2, 1, QZ_FILE_VERSION_PATCH), std::string(__DATE__).substr(7)));
  m_page = new LauncherPage(m_app.currentCalculator, version, QString::fromStdString(m_app.places().cacheFolder));
  m_frame = std::make_unique<MainFrame>(m_page);
  m_frame->setTitleSource(
      [this] { return cp1252ToQString(CalcTitle(false, m_app.currentCalculator, m_app.document().currentPath())); });
  m_frame->setWindowTitle(cp1252ToQString(CalcTitle(false, kNoCalculator, m_app.document().currentPath())));
  m_frame->setOnClose([this] { saveOnClose(); });
  setBoxParent(m_frame.get());

  QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  m_frame->move(screen.center() - QPoint(m_frame->width() / 2, m_frame->height() / 2));
  m_frame->show();

  connect(m_page, &LauncherPage::zoneChosen, this, [this] { hostTick(); });
  connect(&m_hostTimer, &QTimer::timeout, this, &QzApplication::hostTick);
  m_hostTimer.start(100);
}

void QzApplication::hostTick() {
  CalculatorHost::Step step = m_host.tick(m_app.currentCalculator);
  if (step.action == CalculatorHost::Action::OpenCalculator) openCalculator(step.calculator);
  else if (step.action == CalculatorHost::Action::Quit) {
    m_hostTimer.stop();
    m_frame->close();
  }
}

void QzApplication::openCalculator(int calculator) {
  CalculatorPanel* panel = createCalculatorPanel(calculator, m_app, &m_models);
  m_window = new CalculatorWindow(m_app, calculator, panel, m_frame.get());
  connect(m_window, &CalculatorWindow::calculatorClosed, this, [this](bool cancelled) {
    setBoxParent(m_frame.get());
    if (cancelled) {
      m_host.windowCancelled(m_app.currentCalculator);
      return;
    }
    if (m_host.windowClosed(m_app.currentCalculator).action == CalculatorHost::Action::Quit) {
      m_hostTimer.stop();
      // Leave the window's own handler before the frame goes.
      QTimer::singleShot(0, m_frame.get(), [this] { m_frame->close(); });
      return;
    }
    QTimer::singleShot(0, this, [this] { hostTick(); });
  });
  setBoxParent(m_window);
  m_window->show();
}

void QzApplication::saveOnClose() {
  m_hostTimer.stop();
  int open = m_window ? m_window->calculator() : kNoCalculator;
  std::optional<std::string> body = m_window ? m_window->sectionBody() : std::nullopt;
  m_app.SaveOnClose(open, body);
}

}  // namespace qz
