// The main window: no menu bar, light grey, the start page as its view.
#pragma once

#include <QWidget>
#include <functional>

namespace qz {

class LauncherPage;

class MainFrame : public QWidget {
  Q_OBJECT
 public:
  explicit MainFrame(LauncherPage* page);
  /// Run when the frame closes (Escape, the close box, the quit zone), before it goes.
  void setOnClose(std::function<void()> onClose) { m_onClose = std::move(onClose); }
  /// The title is refreshed each time the frame is activated.
  void setTitleSource(std::function<QString()> title) { m_title = std::move(title); }
  LauncherPage* page() const { return m_page; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  LauncherPage* m_page;
  std::function<void()> m_onClose;
  std::function<QString()> m_title;
  bool m_closed = false;
};

}  // namespace qz
