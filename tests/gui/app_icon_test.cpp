// The program's icon: drawn from the installed SVG at every size a window
// manager asks for, sharp at each.
#include <QIcon>
#include <QImage>
#include <QTest>

#include "app/app_icon.h"

using namespace qz;

class AppIconTest : public QObject {
  Q_OBJECT

 private slots:
  void everyThemeSizeIsDrawnNotScaled_data() {
    QTest::addColumn<int>("size");
    for (int size : {16, 32, 48, 64, 128, 256}) QTest::addRow("%d px", size) << size;
  }

  void everyThemeSizeIsDrawnNotScaled() {
    QFETCH(int, size);
    const QIcon icon = applicationIcon();
    QVERIFY(icon.availableSizes().contains(QSize(size, size)));
    const QImage image = icon.pixmap(QSize(size, size)).toImage();
    QCOMPARE(image.size(), QSize(size, size));
    // The corners stay transparent (a rounded badge), the badge itself is
    // opaque navy above the letters, and the band at its foot has the
    // standard calculator's blue at the left and the units' teal at the right.
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    const auto at = [&](double x, double y) {
      return QColor(image.pixel(static_cast<int>(x * size), static_cast<int>(y * size)));
    };
    const QColor navy = at(0.5, 0.12);
    QCOMPARE(navy.alpha(), 255);
    QVERIFY2(navy.blue() > navy.red() + 40, qPrintable(navy.name()));
    if (size >= 32) {
      const QColor left = at(0.16, 0.86), right = at(0.84, 0.86);
      QVERIFY2(left.blue() > 120 && left.red() < 90, qPrintable(left.name()));
      QVERIFY2(right.green() > 90 && right.red() < 60, qPrintable(right.name()));
    }
    // White lettering in the middle of the Z's top bar.
    const QColor letter = at(0.70, 0.235);
    QVERIFY2(letter.lightness() > 200, qPrintable(letter.name()));
  }
};

QTEST_MAIN(AppIconTest)
#include "app_icon_test.moc"
