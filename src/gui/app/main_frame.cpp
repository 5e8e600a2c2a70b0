#include "app/main_frame.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "app/launcher_page.h"

namespace qz {

MainFrame::MainFrame(LauncherPage* page) : m_page(page) {
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, QColor(192, 192, 192));
  setPalette(palette);
  setAutoFillBackground(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(page);
  page->setParent(this);
  setFixedSize(page->size());
}

void MainFrame::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void MainFrame::closeEvent(QCloseEvent* event) {
  if (!m_closed && m_onClose) m_onClose();
  m_closed = true;
  event->accept();
}

void MainFrame::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_title) setWindowTitle(m_title());
  QWidget::changeEvent(event);
}

}  // namespace qz
