#include "png_output.h"

#include <cstdio>
#include <memory>

#ifdef QZ_CLI_PAINTER
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "platform/painter_canvas.h"
#endif

namespace qz::cli {

#ifdef QZ_CLI_PAINTER

bool canWritePictures() { return true; }

bool writePng(const std::string& path, int width, int height, const std::function<void(Canvas&)>& draw) {
  // Fonts need a GUI application; the offscreen platform needs no display.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Qt's start-up notices (a missing runtime folder, say) are not the user's business here.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
  });
  // The application must not outlive its arguments: both live in this call.
  int argc = 1;
  char arg0[] = "qz-cli";
  char* argv[] = {arg0, nullptr};
  std::unique_ptr<QGuiApplication> app;
  if (QGuiApplication::instance() == nullptr) app = std::make_unique<QGuiApplication>(argc, argv);
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    PainterCanvas canvas(&painter);
    draw(canvas);
  }
  return image.save(QString::fromStdString(path), "PNG");
}

#else

bool canWritePictures() { return false; }

bool writePng(const std::string&, int, int, const std::function<void(Canvas&)>&) { return false; }

#endif

}  // namespace qz::cli
