// Every calculator window's Alt keys: each opens one menu or presses one
// button. When a menu and a button (or two of either) share a letter, Qt finds
// the shortcut ambiguous and Alt+letter does nothing at all.
#include "gui/gui_test_support.h"

#include <QAbstractButton>
#include <QMap>
#include <QMenuBar>
#include <QTest>

#include "app/qz_application.h"
#include "platform/scripted_messenger.h"

using namespace qz;

class MnemonicsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> m_dir;
  MemorySettingsStore m_store;
  ScriptedMessenger m_messenger;
  std::unique_ptr<QzApplication> m_app;

 private slots:
  void init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_store = MemorySettingsStore();
    m_app = std::make_unique<QzApplication>(m_store, m_messenger, qz::testing::placesIn(m_dir->path()));
    m_app->start("");
  }

  void cleanup() {
    m_app.reset();
    m_dir.reset();
  }

  void everyAltKeyHasOneOwner_data() {
    QTest::addColumn<int>("zone");
    QTest::newRow("standard") << 0;
    QTest::newRow("scientific") << 1;
    QTest::newRow("statistics") << 2;
    QTest::newRow("geometric") << 3;
    QTest::newRow("units") << 4;
  }

  void everyAltKeyHasOneOwner() {
    QFETCH(int, zone);
    CalculatorWindow* window = qz::testing::openFromStartPage(*m_app, zone);
    QVERIFY(window);
    QMap<int, QString> owners;
    QStringList clashes;
    const auto claim = [&](const QString& text) {
      const QKeySequence key = QKeySequence::mnemonic(text);
      if (key.isEmpty()) return;
      const int combined = key[0].toCombined();
      if (owners.contains(combined)) clashes << text + QStringLiteral(" / ") + owners.value(combined);
      owners.insert(combined, text);
    };
    for (QAction* menu : window->menuBar()->actions()) claim(menu->text());
    QVERIFY(owners.size() >= 6);
    const QMap<int, QString> menus = owners;
    // Buttons shown only in some state (the tape's editing buttons) must not
    // take a menu's key either; those shown together must differ.
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
      if (button->isVisibleTo(window)) {
        claim(button->text());
      } else if (const QKeySequence key = QKeySequence::mnemonic(button->text());
                 !key.isEmpty() && menus.contains(key[0].toCombined())) {
        clashes << button->text() + QStringLiteral(" / ") + menus.value(key[0].toCombined());
      }
    }
    QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(QStringLiteral(", "))));
  }
};

QTEST_MAIN(MnemonicsTest)
#include "mnemonics_test.moc"
