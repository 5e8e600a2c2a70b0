// The running program: the application state, the main frame with its start
// page, the calculator host and the calculator window that runs.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <memory>

#include "app/calc_app.h"
#include "app/calculator_host.h"
#include "app/calculator_window.h"
#include "app/panel_factory.h"

namespace qz {

class MainFrame;
class LauncherPage;
class QtMessenger;

class QzApplication : public QObject {
  Q_OBJECT
 public:
  QzApplication(SettingsStore& settings, Messenger& messenger, FilePlaces places);
  ~QzApplication() override;

  /// Runs the start-up sequence and shows the main frame centred on the screen.
  void start(const std::string& commandLinePath);

  CalcApp& app() { return m_app; }
  MainFrame* frame() const { return m_frame.get(); }
  LauncherPage* page() const { return m_page; }
  /// The calculator window that runs, if any.
  CalculatorWindow* calculatorWindow() const { return m_window; }
  /// One tick of the host (the timer calls it every 100 ms).
  void hostTick();

 private:
  void openCalculator(int calculator);
  void saveOnClose();
  void setBoxParent(QWidget* parent);

  QtMessenger* m_boxes;  ///< the message boxes' parent and title, when they are Qt's
  CalcApp m_app;
  CalculatorHost m_host;
  PanelModels m_models;  ///< outlives the calculator windows
  std::unique_ptr<MainFrame> m_frame;
  LauncherPage* m_page = nullptr;
  QPointer<CalculatorWindow> m_window;
  QTimer m_hostTimer;
};

}  // namespace qz
