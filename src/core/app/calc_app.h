// The application object: the state all five calculators share, the start-up
// sequence and what is saved when the program closes.
#pragma once

#include <array>
#include <string>

#include "app/font_setting.h"
#include "app/memory_commands.h"
#include "document/document_store.h"
#include "files/file_places.h"
#include "files/recent_files.h"
#include "numbers/real_format.h"
#include "platform/canvas.h"
#include "platform/messenger.h"
#include "platform/settings_store.h"

namespace qz {

/// Page setup of the printed report, read at start-up and changed by the page setup dialog.
struct PageSetup {
  double leftMargin = 2.5;  ///< centimetres
  double rightMargin = 1.5;
  double topMargin = 2.5;
  double bottomMargin = 2.0;
  int orientation = 0;  ///< 0 portrait, 1 landscape
  FontDescription reportFont;
};

/// The two default folders: documents and exports.
enum DefaultFolder : int { kDataFolder = 0, kExportFolder = 1 };

class CalcApp {
 public:
  static constexpr const char* kVersionText = "2.1";

  CalcApp(SettingsStore& settings, Messenger& messenger, FilePlaces places);

  /// The start-up sequence: state reset, fonts and labels, recent files,
  /// memories, preferences (`LoadSettings`), the document named on the command
  /// line (may be empty; opened with its absolute path, or message 289 and
  /// the backup file's work when it cannot be read), and the "Appli" keys.
  bool InitInstance(const std::string& commandLinePath);

  /// Reads every preference, creating the default folders (message 218 once
  /// for each folder that cannot be created).
  void LoadSettings();

  /// What the main frame does when it closes: the open calculator's section
  /// (when `openCalculatorBody` is given), the backup file, the memories, the
  /// beep option and the recent files.
  void SaveOnClose(int openCalculator, const std::optional<std::string>& openCalculatorBody);

  /// The default folder of a kind, as `LoadSettings` found it.
  std::string defaultFolderPath(DefaultFolder which) const;
  /// Sets both folders back to ~/QZ/Données and ~/QZ/Exportations.
  std::array<std::string, 2> factoryFolders() const;
  /// Stores the folders (dialog "OK"), creating each that is missing.
  void storeFolders(const std::array<std::string, 2>& folders);

  // Shared state.
  int currentCalculator = kNoCalculator;
  /// Set while every entry field of the open calculator holds an accepted
  /// value; switching and closing wait for it.
  bool validEntry = true;
  Rect calcWindowRect;
  MemoryBank memories{};
  DisplaySetting displaySetting;
  char decimalSeparator = '.';
  int statisticsMode = 0;
  PageSetup pageSetup;
  std::array<FontDescription, 8> appFonts;
  /// Labels of the standard calculator's operations, slots 2 to 12 used.
  std::array<std::string, 16> keyLabels;
  std::string printerDevice, printerDriver, printerPort;
  std::array<std::string, 2> folders;

  SettingsStore& settings() { return m_settings; }
  Messenger& messenger() { return m_messenger; }
  const FilePlaces& places() const { return m_places; }
  RecentFiles& recentFiles() { return m_recent; }
  DocumentStore& document() { return m_document; }
  bool beepEnabled() const { return m_messenger.beepEnabled(); }
  void setBeepEnabled(bool on) { m_messenger.setBeepEnabled(on); }

 private:
  SettingsStore& m_settings;
  Messenger& m_messenger;
  FilePlaces m_places;
  RecentFiles m_recent;
  DocumentStore m_document;

  void fillFonts();
  void fillKeyLabels();
  void readMemories();
  void writeMemories();
};

}  // namespace qz
