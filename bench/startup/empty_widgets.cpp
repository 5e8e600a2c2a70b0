// The smallest Qt Widgets program with one painted window: the yardstick for
// qz's start-up time.
#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>

class Window : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter(this).fillRect(rect(), Qt::lightGray);
    QTimer::singleShot(0, qApp, &QApplication::quit);
  }
};

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  Window window;
  window.resize(588, 397);
  window.show();
  return app.exec();
}
