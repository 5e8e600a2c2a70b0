// What the start keeps short: the start page read back from its kept picture,
// the icon drawn only when looked at, the settings file left alone when
// nothing in it changes.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include "app/app_icon.h"
#include "app/launcher_page.h"
#include "platform/qt_settings_store.h"

using namespace qz;

namespace {

QString keptPicture(const QString& folder) {
  const QStringList kept = QDir(folder).entryList({QStringLiteral("start-page-*.bmp")});
  return kept.size() == 1 ? QDir(folder).filePath(kept.front()) : QString();
}

QByteArray fileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

}  // namespace

class StartupTest : public QObject {
  Q_OBJECT

 private slots:
  void keptStartPageIsAnOrdinaryBmpReadBackAsPainted() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    int calculator = -1;
    LauncherPage painted(calculator, QStringLiteral("Version 2.1"), dir.path());
    const QImage first = painted.grab().toImage();
    const QString file = keptPicture(dir.path());
    QVERIFY(!file.isEmpty());
    // Any program reads it: Qt's own BMP reader gives the page.
    QImage picture(file, "BMP");
    QCOMPARE(picture.size(), QSize(588, 397));
    QCOMPARE(picture.convertToFormat(QImage::Format_RGB32), first.convertToFormat(QImage::Format_RGB32));
    // A second page takes it back pixel for pixel.
    LauncherPage again(calculator, QStringLiteral("Version 2.1"), dir.path());
    QCOMPARE(again.grab().toImage(), first);
  }

  void damagedKeptPageIsPaintedAgainAndReplaced() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    int calculator = -1;
    const QImage first = LauncherPage(calculator, QStringLiteral("Version 2.1"), dir.path()).grab().toImage();
    const QString file = keptPicture(dir.path());
    const QByteArray good = fileBytes(file);
    QVERIFY(good.size() > 54);
    // Cut short, a wrong header, a picture of the page's size in another form
    // (a 24-bit BMP as Qt writes it): never shown, painted again and kept anew.
    QByteArray wrongHeader = good;
    wrongHeader[28] = 24;
    QByteArray otherForm;
    {
      QImage image(file, "BMP");
      image.fill(Qt::red);
      QVERIFY(image.save(file, "BMP"));
      otherForm = fileBytes(file);
    }
    for (const QByteArray& bad : {good.left(good.size() / 2), wrongHeader, otherForm}) {
      QVERIFY(writeBytes(file, bad));
      LauncherPage page(calculator, QStringLiteral("Version 2.1"), dir.path());
      QCOMPARE(page.grab().toImage(), first);
      QCOMPARE(fileBytes(file), good);
    }
    // A folder in place of the picture: painted, nothing read, nothing blocks.
    QVERIFY(QFile::remove(file));
    QVERIFY(QDir().mkpath(file));
    QCOMPARE(LauncherPage(calculator, QStringLiteral("Version 2.1"), dir.path()).grab().toImage(), first);
  }

  void iconSizesAreKnownBeforeAnyIsDrawn() {
    const QIcon icon = applicationIcon();
    QVERIFY(!icon.isNull());
    QCOMPARE(icon.availableSizes().size(), 8);
    QVERIFY(icon.availableSizes().contains(QSize(256, 256)));
    QVERIFY(icon.availableSizes(QIcon::Disabled).isEmpty());
    // Copies draw once for all and give the same pictures.
    const QIcon copy = icon;
    QCOMPARE(copy.pixmap(QSize(32, 32)).toImage(), icon.pixmap(QSize(32, 32)).toImage());
    // Between two drawn sizes: a picture no larger than asked, as told beforehand.
    const QSize between = icon.actualSize(QSize(40, 40));
    QVERIFY(between.width() <= 40 && between.width() >= 32);
    QCOMPARE(icon.pixmap(QSize(40, 40)).size(), between);
  }

  void settingsFileIsLeftAloneWhenNothingChanges() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("QZ.ini"));
    {
      QtSettingsStore store(path);
      QVERIFY(store.write("Memory", "M0", "12.5"));
      QVERIFY(store.write("Options", "Beep", "1"));
      store.sync();
    }
    // A line the program never writes shows whether the file was written again.
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    file.write("; note\n");
    file.close();
    const QByteArray before = fileBytes(path);
    {
      QtSettingsStore store(path);
      QVERIFY(store.write("Memory", "M0", "12.5"));
      QVERIFY(store.write("Options", "Beep", "1"));
      store.sync();
    }
    QCOMPARE(fileBytes(path), before);
    {
      QtSettingsStore store(path);
      QVERIFY(store.write("Memory", "M0", "7"));
      store.sync();
    }
    QCOMPARE(QtSettingsStore(path).read("Memory", "M0").value_or("?"), std::string("7"));
    QCOMPARE(QtSettingsStore(path).read("Options", "Beep").value_or("?"), std::string("1"));
    // A value read as a list (it holds a comma) is written back as the text it is.
    {
      QVERIFY(file.open(QIODevice::Append));
      file.write("[Intl]\ntheApp.sDecimal=a,b\n");
      file.close();
      QtSettingsStore store(path);
      QVERIFY(store.write("Intl", "theApp.sDecimal", "a,b"));
      store.sync();
    }
    QCOMPARE(QtSettingsStore(path).read("Intl", "theApp.sDecimal").value_or("?"), std::string("a,b"));
  }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
