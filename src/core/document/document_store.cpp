#include "document/document_store.h"

#include <algorithm>
#include <cstdio>

#include "files/file_access.h"
#include "numbers/cp1252.h"
#include "numbers/messages.h"
#include "numbers/string_table.h"

namespace qz {

namespace {

constexpr const char* kFirstLine = "QZ_01";
constexpr const char* kEndOfSection = "<EOB>";
constexpr const char* kEndOfFile = "<EOF>";
constexpr int kSaveQuestion = 80;  // "Enregistrer les données du fichier :\n\n%s ?"

// Finds `line` as a whole line at or after `from`, not at the very start.
std::size_t findLine(const std::string& text, const std::string& line, std::size_t from) {
  std::string needle = "\n" + line;
  for (std::size_t at = text.find(needle, from == 0 ? 0 : from - 1); at != std::string::npos;
       at = text.find(needle, at + 1)) {
    std::size_t after = at + needle.size();
    if (after == text.size() || text[after] == '\n') return at + 1;
  }
  return std::string::npos;
}

std::size_t endOfLine(const std::string& text, std::size_t pos) {
  std::size_t lf = text.find('\n', pos);
  return lf == std::string::npos ? text.size() : lf + 1;
}

}  // namespace

std::string DocumentStore::sectionTag(int calculator) {
  char tag[16];
  std::snprintf(tag, sizeof tag, "<%03d>", calculator);
  return tag;
}

std::size_t DocumentStore::findTagLine(int calculator) const { return findLine(m_text, sectionTag(calculator), 1); }

std::optional<DocumentStore::Span> DocumentStore::findSection(int calculator) const {
  std::size_t tag = findTagLine(calculator);
  if (tag == std::string::npos) return std::nullopt;
  const std::size_t bodyBegin = endOfLine(m_text, tag);
  std::size_t eob = findLine(m_text, kEndOfSection, bodyBegin);
  if (eob == std::string::npos) return std::nullopt;
  // A section whose "<EOB>" went missing must not reach into the next one.
  for (int other = 0; other < kCalculatorCount; ++other)
    if (findLine(m_text, sectionTag(other), bodyBegin) < eob) return std::nullopt;
  if (findLine(m_text, kEndOfFile, bodyBegin) < eob) return std::nullopt;
  return Span{tag, endOfLine(m_text, eob)};
}

void DocumentStore::StoreSection(int calculator, const std::optional<std::string>& body) {
  if (calculator < 0 || calculator >= kCalculatorCount) return;
  m_previous = m_text;
  if (m_text.empty()) m_text = std::string(kFirstLine) + "\n" + kEndOfFile + "\n";

  // Every earlier section of this calculator goes (a foreign text may hold
  // two); a tag whose section never ends is dropped with its line, so it
  // can't swallow the section stored after it.
  while (true) {
    if (auto span = findSection(calculator)) {
      m_text.erase(span->begin, span->end - span->begin);
    } else if (std::size_t orphan = findTagLine(calculator); orphan != std::string::npos) {
      m_text.erase(orphan, endOfLine(m_text, orphan) - orphan);
    } else {
      break;
    }
  }
  if (!body) return;

  std::string section = sectionTag(calculator) + "\n" + *body;
  if (!section.empty() && section.back() != '\n') section += '\n';
  section += std::string(kEndOfSection) + "\n";

  std::size_t insertAt = std::string::npos;
  for (int later = calculator + 1; later < kCalculatorCount && insertAt == std::string::npos; ++later)
    insertAt = findTagLine(later);
  if (insertAt == std::string::npos) insertAt = findLine(m_text, kEndOfFile, 1);
  if (insertAt == std::string::npos) {
    // A text without its end line gets one back.
    if (!m_text.empty() && m_text.back() != '\n') m_text += '\n';
    m_text += section + kEndOfFile + "\n";
    return;
  }
  m_text.insert(insertAt, section);
}

std::optional<std::string> DocumentStore::LoadSection(int calculator) const {
  if (calculator < 0 || calculator >= kCalculatorCount || m_text.empty()) return std::nullopt;
  auto span = findSection(calculator);
  if (!span) return std::nullopt;
  std::size_t bodyBegin = endOfLine(m_text, span->begin);
  std::size_t eob = findLine(m_text, kEndOfSection, bodyBegin);
  return m_text.substr(bodyBegin, eob - bodyBegin);
}

std::vector<int> DocumentStore::sectionsPresent() const {
  std::vector<int> present;
  for (int c = 0; c < kCalculatorCount; ++c)
    if (findTagLine(c) != std::string::npos) present.push_back(c);
  return present;
}

namespace {

std::string withoutCarriageReturns(std::string content) {
  content.erase(std::remove(content.begin(), content.end(), '\r'), content.end());
  return content;
}

}  // namespace

bool DocumentStore::ReadDocumentFile(const std::string& path) {
  const std::string& file = resolve(path);
  if (file.empty()) return false;
  FileReadResult read = ReadRegularFile(file);
  if (!read.content) {
    if (path.empty() && read.cause == FileErrorCause::FileNotFound) {
      // No backup yet: every calculator starts empty.
      m_text.clear();
      m_saved.clear();
      return true;
    }
    ShowFileError(m_messenger, kCannotOpenFile, file, read.cause);
    return false;
  }
  m_text = withoutCarriageReturns(std::move(*read.content));
  m_saved = m_text;
  m_recent.promote(m_currentPath);
  return true;
}

bool DocumentStore::OpenDocumentFile(const std::string& path) {
  if (path.empty()) return false;
  FileReadResult read = ReadRegularFile(path);
  if (!read.content) {
    ShowFileError(m_messenger, kCannotOpenFile, path, read.cause);
    if (read.cause == FileErrorCause::FileNotFound) m_recent.remove(path);
    return false;
  }
  m_currentPath = path;
  m_text = withoutCarriageReturns(std::move(*read.content));
  m_saved = m_text;
  m_previous = m_text;
  m_recent.promote(m_currentPath);
  return true;
}

bool DocumentStore::WriteDocumentFile(const std::string& path) {
  if (m_text.empty()) return true;
  const std::string& file = resolve(path);
  std::string bytes;
  bytes.reserve(m_text.size() + m_text.size() / 16);
  for (char c : m_text) {
    if (c == '\r') continue;
    if (c == '\n') bytes += '\r';
    bytes += c;
  }
  if (!WriteFileAtomically(file, bytes, m_messenger, kCannotSaveFile)) return false;
  m_recent.promote(m_currentPath);
  m_saved = m_text;
  return true;
}

void DocumentStore::CommitCurrent(int calculator, const std::optional<std::string>& body) {
  StoreSection(calculator, body);
  if (m_text == m_saved) return;
  if (m_currentPath.empty()) {
    WriteDocumentFile(m_backupPath);
    return;
  }
  std::string question = LoadString(kSaveQuestion);
  std::size_t at = question.find("%s");
  if (at != std::string::npos) question.replace(at, 2, utf8ToCp1252(m_currentPath));
  if (Confirm(m_messenger, 0, question))
    WriteDocumentFile(m_currentPath);
  else
    m_text = m_previous;
}

void DocumentStore::ClearAll() {
  m_text.clear();
  WipeAndDelete(m_backupPath, false);
  m_currentPath.clear();
}

}  // namespace qz
