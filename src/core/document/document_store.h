// The document: one text holding a section per calculator, its file and the
// backup file that carries the work from one run to the next.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "files/recent_files.h"
#include "platform/messenger.h"

namespace qz {

/// Calculators by number, as in the document's section tags.
enum CalculatorId : int {
  kNoCalculator = -1,    ///< the start page
  kStandard = 0,
  kScientific = 1,
  kStatistics = 2,
  kGeometric = 3,
  kUnitConversion = 4,
  kQuitProgram = -100,
};
inline constexpr int kCalculatorCount = 5;

class DocumentStore {
 public:
  DocumentStore(Messenger& messenger, RecentFiles& recentFiles) : m_messenger(messenger), m_recent(recentFiles) {}

  // The texts; lines end with a line feed only.
  const std::string& text() const { return m_text; }
  const std::string& savedText() const { return m_saved; }
  const std::string& previousText() const { return m_previous; }
  void setText(std::string text) { m_text = std::move(text); }
  bool hasUnsavedChanges() const { return m_text != m_saved; }

  const std::string& currentPath() const { return m_currentPath; }
  void setCurrentPath(std::string path) { m_currentPath = std::move(path); }
  const std::string& backupPath() const { return m_backupPath; }
  void setBackupPath(std::string path) { m_backupPath = std::move(path); }

  /// Writes `calculator`'s section: `body` (its lines, each ended by a line
  /// feed) between its tag and "<EOB>", in calculator order; without a body
  /// (the calculator holds no data) its section is only removed. Keeps the
  /// text before the change as the previous text.
  void StoreSection(int calculator, const std::optional<std::string>& body);

  /// The body of `calculator`'s section, or nothing when the text holds no
  /// complete section of it (the calculator then starts from its reset state).
  std::optional<std::string> LoadSection(int calculator) const;

  /// Calculators whose section tag is in the text.
  std::vector<int> sectionsPresent() const;

  /// Reads a document file (the backup file for an empty path) into the text.
  /// A missing backup file is an empty text. Any other failure (the named
  /// document gone from the disk, a file that cannot be read) shows message
  /// 289 with its cause and changes nothing: the text in memory is the
  /// user's work, and the backup file is not overwritten with less. False
  /// after the message.
  bool ReadDocumentFile(const std::string& path);

  /// Opens another document (the "Ouvrir" command, a recent file, the
  /// command line): on success it becomes the current document with its
  /// text. When it cannot be read, message 289 with its cause, and the
  /// current document, its text and the backup file stay as they were; a
  /// file no longer there leaves the recent files. False after the message.
  bool OpenDocumentFile(const std::string& path);

  /// Writes the text (CR LF line ends) atomically; nothing when the text is
  /// empty. False after message 30804 when the file could not be written.
  bool WriteDocumentFile(const std::string& path);

  /// Stores the section, then writes the backup file silently, or, with a
  /// named document, asks whether to save (No undoes the store).
  void CommitCurrent(int calculator, const std::optional<std::string>& body);

  /// Forgets every calculator's data: empty text, backup file deleted, no document.
  void ClearAll();

  static std::string sectionTag(int calculator);

 private:
  Messenger& m_messenger;
  RecentFiles& m_recent;
  std::string m_text;
  std::string m_saved;
  std::string m_previous;
  std::string m_currentPath;
  std::string m_backupPath;

  // Start and end (past the "<EOB>" line) of a calculator's section.
  struct Span {
    std::size_t begin;
    std::size_t end;
  };
  std::optional<Span> findSection(int calculator) const;
  std::size_t findTagLine(int calculator) const;
  const std::string& resolve(const std::string& path) const { return path.empty() ? m_backupPath : path; }
};

}  // namespace qz
