// Saving the statistics diagram as PNG and SVG pictures, from the trend dialog.
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <functional>

#include "numbers/cp1252.h"
#include "platform/scripted_messenger.h"
#include "statistics/diagram_export.h"
#include "statistics/trend_dialog.h"

using namespace qz;

namespace {

DiagramSeries straightLine() {
  DiagramSeries s;
  for (int i = 0; i <= 95; i += 5) s.points.push_back({double(i), 2.0 * i + 1 + (i % 3 - 1) * 6});
  s.a = 2;
  s.b = 1;
  s.equation = "y = 2\xB7x + 1\nr\xB2 = 0.9965";
  return s;
}

DiagramSeries parabola() {
  DiagramSeries s;
  for (int i = -5; i <= 10; ++i) s.points.push_back({double(i), i * i + (i % 2 ? 3.0 : -3.0)});
  s.curve = [](double x) { return x * x; };
  s.equation = "y = x\xB2\nr\xB2 = 0.991";
  return s;
}

DiagramSeries henryLine() {
  DiagramSeries s;
  s.axes = {AxisScale::Linear, AxisScale::Probit};
  const double f[] = {0.02, 0.1, 0.25, 0.5, 0.72, 0.88, 0.97};
  for (int i = 0; i < 7; ++i) s.points.push_back({10.0 + 2 * i, f[i]});
  // Quantile u = (x - 16) / 3.5: mean 16, standard deviation 3.5.
  s.a = 1 / 3.5;
  s.b = -16 / 3.5;
  s.equation = "u = (x - 16) / 3.5\nr\xB2 = 0.998";
  return s;
}

int countColour(const QImage& image, const QRect& where, const std::function<bool(QColor)>& is) {
  int n = 0;
  for (int y = where.top(); y <= where.bottom(); ++y)
    for (int x = where.left(); x <= where.right(); ++x)
      if (is(image.pixelColor(x, y))) ++n;
  return n;
}
bool green(QColor c) { return c.green() > 100 && c.red() < 60 && c.blue() < 60; }
bool darkRed(QColor c) { return c.red() > 100 && c.green() < 40 && c.blue() < 40; }

QImage svgImage(const QByteArray& svg, QSize size) {
  QSvgRenderer renderer(svg);
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  renderer.render(&painter);
  return image;
}

/// Keeps a picture in $QZ_SHOT_DIR when it is set, to look at it.
void shot(const QImage& image, const char* name) {
  const QString folder = qEnvironmentVariable("QZ_SHOT_DIR");
  if (!folder.isEmpty()) image.save(folder + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}

/// Runs `act` on the next modal file dialog once it shows.
void whenFileDialogShown(std::function<void(QFileDialog*)> act) {
  auto* timer = new QTimer(qApp);
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    timer->stop();
    timer->deleteLater();
    act(dialog);
  });
  timer->start();
}

/// Types a file name as a user does (selectFile may be overtaken by the
/// dialog's own selection once its folder is read).
void typeName(QFileDialog* dialog, const QString& name) {
  auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  QVERIFY(edit);
  edit->setText(name);
}

QByteArray fileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class DiagramExportTest : public QObject {
  Q_OBJECT

 private slots:
  void pngIsTheDiagramAtTwiceTheResolution() {
    const QByteArray png = diagramPng(straightLine(), QSize(580, 340));
    QImage image;
    QVERIFY(image.loadFromData(png, "PNG"));
    QCOMPARE(image.size(), QSize(1160, 680));
    shot(image, "diagram-line");
    QVERIFY(countColour(image, image.rect(), green) > 1000);  // the line, three pixels wide at 96 dpi
    QVERIFY(countColour(image, image.rect(), darkRed) > 20 * 100);  // 20 filled points
    for (const auto& [series, name] : {std::pair{parabola(), "diagram-curve"}, std::pair{henryLine(), "diagram-henry"}}) {
      QImage other;
      QVERIFY(other.loadFromData(diagramPng(series, QSize(580, 340)), "PNG"));
      shot(other, name);
      QVERIFY(countColour(other, other.rect(), green) > 1000);
    }
  }

  void svgIsReadableAndKeepsTheCurveInsideThePlot() {
    const QSize size(580, 340);
    const QByteArray svg = diagramSvg(parabola(), size);
    QVERIFY(svg.startsWith("<?xml"));
    QVERIFY(svg.contains("<svg"));
    QVERIFY(svg.contains("Courbe de tendance"));
    QSvgRenderer renderer(svg);
    QVERIFY(renderer.isValid());
    QCOMPARE(renderer.viewBox(), QRect(QPoint(0, 0), size));
    const QImage image = svgImage(svg, size);
    shot(image, "diagram-curve-svg");
    QVERIFY(countColour(image, image.rect(), green) > 300);
    QVERIFY(countColour(image, image.rect(), darkRed) > 16 * 25);
    // x² leaves through the top of the plot: nothing green above it, though
    // an SVG picture knows no clipping from the painter.
    QVERIFY(countColour(image, QRect(0, 0, size.width(), 40), green) == 0);
    // Texts stay texts, in Unicode.
    const QByteArray henry = diagramSvg(henryLine(), size);
    QVERIFY(henry.contains(QStringLiteral("Fréquences cumulées (%)").toUtf8()));
    QVERIFY(henry.contains("50.00 %"));
    shot(svgImage(henry, size), "diagram-henry-svg");
  }

  void saveWritesThePictureOrSaysWhy() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    ScriptedMessenger messenger;
    const QString png = dir.filePath(QStringLiteral("droite.png"));
    QVERIFY(saveDiagramPicture(straightLine(), png.toStdString(), DiagramPicture::Png, QSize(400, 240), messenger));
    QImage image;
    QVERIFY(image.loadFromData(fileBytes(png), "PNG"));
    QCOMPARE(image.size(), QSize(800, 480));
    const QString svg = dir.filePath(QStringLiteral("droite.svg"));
    QVERIFY(saveDiagramPicture(straightLine(), svg.toStdString(), DiagramPicture::Svg, QSize(400, 240), messenger));
    QVERIFY(QSvgRenderer(fileBytes(svg)).isValid());
    QVERIFY(messenger.boxes().empty());
    // A folder that does not exist: the file message, nothing written.
    const QString missing = dir.filePath(QStringLiteral("absent/droite.png"));
    QVERIFY(!saveDiagramPicture(straightLine(), missing.toStdString(), DiagramPicture::Png, QSize(400, 240), messenger));
    QCOMPARE(messenger.boxes().size(), std::size_t{1});
    QVERIFY2(QString::fromStdString(messenger.lastTextUtf8()).contains(QStringLiteral("Impossible d'enregistrer le fichier")),
             messenger.lastTextUtf8().c_str());
    QVERIFY(!QFile::exists(missing));
    QCOMPARE(pictureFormatOf(QStringLiteral("a/B.SVG")), DiagramPicture::Svg);
    QCOMPARE(pictureFormatOf(QStringLiteral("a/b.svg.png")), DiagramPicture::Png);
  }

  void theDialogSavesThroughItsFileDialog() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    ScriptedMessenger messenger;
    TrendDialog dialog(parabola());
    dialog.setSaveTarget(&messenger, dir.path());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.saveButton()->text(), QStringLiteral("Enregistrer le diagramme..."));
    QVERIFY(dialog.saveButton()->isEnabled());
    shot(dialog.grab().toImage(), "trend-dialog-save");

    // The SVG type chosen, the name typed without an extension.
    QString title, folder;
    QStringList filters;
    whenFileDialogShown([&](QFileDialog* d) {
      title = d->windowTitle();
      filters = d->nameFilters();
      folder = d->directory().absolutePath();
      // As a user does: the type chosen in the list.
      auto* types = d->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
      QVERIFY(types);
      QTest::keyClick(types, Qt::Key_Down);
      QCOMPARE(types->currentIndex(), 1);
      typeName(d, dir.filePath(QStringLiteral("parabole")));
      static_cast<QDialog*>(d)->accept();
    });
    dialog.saveButton()->click();
    QCOMPARE(title, QStringLiteral("Enregistrer le diagramme"));
    QCOMPARE(filters, (QStringList{QStringLiteral("Image PNG (*.png)"), QStringLiteral("Image SVG (*.svg)")}));
    QCOMPARE(folder, QDir(dir.path()).absolutePath());
    const QString svg = dir.filePath(QStringLiteral("parabole.svg"));
    QSvgRenderer renderer(fileBytes(svg));
    QVERIFY2(renderer.isValid(), qPrintable(QDir(dir.path()).entryList().join(QLatin1Char(' '))));
    QCOMPARE(renderer.viewBox(), QRect(QPoint(0, 0), dialog.view()->size()));

    // PNG by its extension.
    whenFileDialogShown([&](QFileDialog* d) {
      typeName(d, dir.filePath(QStringLiteral("parabole.png")));
      static_cast<QDialog*>(d)->accept();
    });
    dialog.saveButton()->click();
    QImage image;
    QVERIFY2(image.loadFromData(fileBytes(dir.filePath(QStringLiteral("parabole.png"))), "PNG"),
             qPrintable(QDir(dir.path()).entryList().join(QLatin1Char(' '))));
    QCOMPARE(image.size(), dialog.view()->size() * 2);
    QVERIFY(messenger.boxes().empty());

    // Cancelled: nothing written, nothing said.
    whenFileDialogShown([](QFileDialog* d) { d->reject(); });
    dialog.saveButton()->click();
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
    QVERIFY(messenger.boxes().empty());
    QVERIFY(dialog.isVisible());
  }
};

QTEST_MAIN(DiagramExportTest)
#include "diagram_export_test.moc"
