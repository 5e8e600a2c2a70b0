// Command numbers shared by the five calculator windows, and the memory commands.
#pragma once

#include <string>

namespace qz {

/// Commands of the calculator windows' menus and toolbar.
enum Command : int {
  kCmdOpen = 57601,
  kCmdSave = 57603,
  kCmdSaveAs = 57604,
  kCmdRecentFirst = 31000,  ///< to 31003
  kCmdClearAllCalculators = 32849,
  kCmdPrint = 32778,
  kCmdPageSetup = 32792,
  kCmdExport = 32858,
  kCmdExportPdf = 32890,  ///< the report as a PDF file
  kCmdQuitCalculator = 32855,
  kCmdQuitProgram = 32877,
  kCmdUndo = 32782,
  kCmdCopy = 32776,
  kCmdPaste = 32781,
  kCmdSwitchFirst = 32860,  ///< 32860 standard ... 32864 unit conversion
  kCmdCopyToMemory = 3100,  ///< + memory number
  kCmdAddToMemory = 3200,
  kCmdUseMemory = 3300,
  kCmdClearMemory = 3400,
  kCmdClearAllMemories = 32848,
  kCmdBeep = 32852,
  kCmdFolders = 32859,
  kCmdManual = 32856,
  kCmdHelpCalculator = 32837,
  kCmdHelpTopics = 57666,
  kCmdHelpUsage = 57668,
  kCmdAbout = 57664,
};

/// The tool tip of a command: its string's text after the line break ("" when none).
std::string commandToolTip(int command);

}  // namespace qz
