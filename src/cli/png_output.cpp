#include "png_output.h"

#include <cstdio>

#include "files/file_access.h"

#ifdef QZ_CLI_PAINTER
#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "platform/painter_canvas.h"
#endif

namespace qz::cli {

#ifdef QZ_CLI_PAINTER

// The application must not outlive its arguments: they live beside it.
struct HeadlessGui::Application {
  int argc = 1;
  char arg0[8] = "qz-cli";
  char* argv[2] = {arg0, nullptr};
  QGuiApplication application{argc, argv};
};

HeadlessGui::HeadlessGui() {
  if (QGuiApplication::instance() != nullptr) return;
  // Fonts need a GUI application; the offscreen platform needs no display.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Qt's start-up notices (a missing runtime folder, say) are not the user's business here.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
      std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
  });
  m_application = std::make_unique<Application>();
}

HeadlessGui::~HeadlessGui() = default;

bool canWritePictures() { return true; }

bool writePng(const std::string& path, int width, int height, const std::function<void(Canvas&)>& draw,
              Messenger& messenger) {
  HeadlessGui gui;
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    PainterCanvas canvas(&painter);
    draw(canvas);
  }
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) {
    ShowFileError(messenger, kCannotSaveFile, path, FileErrorCause::Generic);
    return false;
  }
  return WriteFileAtomically(path, png.toStdString(), messenger, kCannotSaveFile);
}

#else

struct HeadlessGui::Application {};
HeadlessGui::HeadlessGui() = default;
HeadlessGui::~HeadlessGui() = default;

bool canWritePictures() { return false; }

bool writePng(const std::string&, int, int, const std::function<void(Canvas&)>&, Messenger&) { return false; }

#endif

}  // namespace qz::cli
