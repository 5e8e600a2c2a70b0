#include "app/calc_app.h"

#include <cmath>
#include <filesystem>

#include "files/file_access.h"
#include "numbers/cp1252.h"
#include "numbers/messages.h"
#include "numbers/string_table.h"
#include "platform/places.h"

namespace qz {

namespace {

constexpr const char* kDefaultReportFont = "-14,0,0,0,400,0,0,0,0,0,0,0,0,Courier New";
constexpr int kDataFolderName = 300;    // "Données"
constexpr int kExportFolderName = 301;  // "Exportations"

FontDescription appFont(const char* face, int height, int weight, unsigned char pitchAndFamily) {
  FontDescription f;
  f.face = face;
  f.height = height;
  f.weight = weight;
  f.pitchAndFamily = pitchAndFamily;
  return f;
}

// A stored margin in hundredths of a centimetre; garbage and negatives read as 0.
double marginSetting(const SettingsStore& store, const char* key, long long fallback) {
  long long hundredths = store.readInt("rMakeUp", key, fallback);
  return hundredths < 0 ? 0.0 : static_cast<double>(hundredths) * 0.01;
}

// A document named on the command line, made absolute: the recent files
// keep it, and a relative name means nothing once QZ starts elsewhere.
std::string absoluteDocumentPath(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  return ec ? path : absolute.lexically_normal().string();
}

}  // namespace

CalcApp::CalcApp(SettingsStore& settings, Messenger& messenger, FilePlaces places)
    : m_settings(settings), m_messenger(messenger), m_places(std::move(places)), m_document(messenger, m_recent) {}

bool CalcApp::InitInstance(const std::string& commandLinePath) {
  currentCalculator = kNoCalculator;
  calcWindowRect = Rect{};
  memories.fill(0.0);
  // The per-user folders hold the backup and history files; the program
  // makes them itself, quietly, as the system's own folders always existed.
  std::error_code ignored;
  std::filesystem::create_directories(m_places.cacheFolder, ignored);
  std::filesystem::create_directories(m_places.userDataFolder, ignored);
  m_document.setBackupPath(BuildProgramPath("__QZ__", "BAK", BaseLocation::Temporary, m_places));
  m_document.setCurrentPath({});
  m_document.setText({});
  printerDevice.clear();
  printerDriver.clear();
  printerPort.clear();
  displaySetting = DisplaySetting{0, 2};
  fillFonts();
  fillKeyLabels();
  m_recent.load(m_settings);
  readMemories();
  LoadSettings();
  if (!commandLinePath.empty()) m_document.OpenDocumentFile(absoluteDocumentPath(commandLinePath));
  m_settings.write("Appli", "Install", BuildProgramPath("", "", BaseLocation::Program, m_places));
  m_settings.write("Appli", "Version", kVersionText);
  return true;
}

void CalcApp::fillFonts() {
  appFonts = {
      appFont("MS Sans Serif", -12, 400, 0x22), appFont("MS Sans Serif", -12, 700, 0x22),
      appFont("Arial", -12, 400, 0x22),         appFont("Arial", -12, 700, 0x22),
      appFont("Courier New", -16, 400, 0x31),   appFont("Courier New", -16, 700, 0x31),
      appFont("Symbol", -16, 400, 0x51),        appFont("Symbol", -16, 700, 0x51),
  };
}

void CalcApp::fillKeyLabels() {
  keyLabels = {};
  // Division and radical signs are Symbol-font bytes between Greek toggles.
  const char* labels[] = {"+", "-", "*", "\x8A\xB8\x8A", "\x8A\xD6\x8A", "x\xB2", "1/x", "^", "(", ")", "="};
  for (int i = 0; i < 11; ++i) keyLabels[static_cast<std::size_t>(2 + i)] = labels[i];
}

void CalcApp::readMemories() {
  for (int i = 0; i < 10; ++i) {
    std::string text = m_settings.readText("Memory", "M" + std::to_string(i), "0.");
    double value = readRealPrefix(text);
    memories[static_cast<std::size_t>(i)] = std::isfinite(value) ? value : 0.0;
  }
}

void CalcApp::writeMemories() {
  for (int i = 0; i < 10; ++i)
    m_settings.write("Memory", "M" + std::to_string(i), exchangeText(memories[static_cast<std::size_t>(i)]));
}

std::array<std::string, 2> CalcApp::factoryFolders() const {
  const std::string base = joinPath(m_places.homeFolder, "QZ");
  return {joinPath(base, cp1252ToUtf8(LoadString(kDataFolderName))),
          joinPath(base, cp1252ToUtf8(LoadString(kExportFolderName)))};
}

void CalcApp::LoadSettings() {
  const auto defaults = factoryFolders();
  const char* keys[2] = {"FolderData", "FolderExport"};
  for (int i = 0; i < 2; ++i) {
    std::string folder = m_settings.readText("Preference", keys[i], defaults[static_cast<std::size_t>(i)]);
    folders[static_cast<std::size_t>(i)] = folder;
    std::string resolved = folder;
    if (!ResolveFolder(resolved, m_places.programFolder)) CreateFolderPath(resolved, m_messenger);
  }

  pageSetup.reportFont = ReadFontSetting(m_settings, "Preference", "ReportFont", kDefaultReportFont);
  pageSetup.leftMargin = marginSetting(m_settings, "lMargin", 250);
  pageSetup.rightMargin = marginSetting(m_settings, "rMargin", 150);
  pageSetup.topMargin = marginSetting(m_settings, "tMargin", 250);
  pageSetup.bottomMargin = marginSetting(m_settings, "bMargin", 200);
  pageSetup.orientation = m_settings.readInt("rMakeUp", "Orient", 0) == 1 ? 1 : 0;

  // Out-of-range display values fall back to the defaults rather than
  // reaching a format with a meaningless precision.
  long long mode = m_settings.readInt("Display", "Mode", 0);
  long long decimals = m_settings.readInt("Display", "nDecimal", 2);
  displaySetting.mode = (mode == 0 || mode == 1 || mode == 3) ? static_cast<int>(mode) : 0;
  displaySetting.decimals = (decimals >= 0 && decimals <= 9) ? static_cast<int>(decimals) : 2;

  long long statMode = m_settings.readInt("Statistic", "Mode", 0);
  statisticsMode = (statMode >= 0 && statMode <= 2) ? static_cast<int>(statMode) : 0;

  std::string separator = m_settings.readText("Intl", "theApp.sDecimal", ".");
  decimalSeparator = separator.empty() ? '.' : separator.front();

  m_messenger.setBeepEnabled(m_settings.readInt("Options", "Beep", 1) != 0);
}

std::string CalcApp::defaultFolderPath(DefaultFolder which) const {
  std::string folder = folders[static_cast<std::size_t>(which)];
  ResolveFolder(folder, m_places.programFolder);
  return folder;
}

void CalcApp::storeFolders(const std::array<std::string, 2>& chosen) {
  const char* keys[2] = {"FolderData", "FolderExport"};
  for (int i = 0; i < 2; ++i) {
    folders[static_cast<std::size_t>(i)] = chosen[static_cast<std::size_t>(i)];
    m_settings.write("Preference", keys[i], chosen[static_cast<std::size_t>(i)]);
    std::string resolved = chosen[static_cast<std::size_t>(i)];
    if (!ResolveFolder(resolved, m_places.programFolder)) CreateFolderPath(resolved, m_messenger);
  }
}

void CalcApp::SaveOnClose(int openCalculator, const std::optional<std::string>& openCalculatorBody) {
  if (openCalculator >= 0 && openCalculator < kCalculatorCount)
    m_document.StoreSection(openCalculator, openCalculatorBody);
  m_document.WriteDocumentFile(m_document.backupPath());
  writeMemories();
  m_settings.writeInt("Options", "Beep", beepEnabled() ? 1 : 0);
  m_recent.save(m_settings);
}

}  // namespace qz
