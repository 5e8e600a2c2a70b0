#include "doc_section.h"

#include "app/launcher.h"
#include "files/file_access.h"
#include "numbers/cp1252.h"

namespace qz::cli {

namespace {

// Every document QZ writes starts with this line; anything else is some other
// file, which a command must not rewrite around a section of its own.
bool looksLikeDocument(const std::string& text) {
  constexpr std::string_view kFirstLine = "QZ_01";
  return text.empty() || (text.starts_with(kFirstLine) &&
                          (text.size() == kFirstLine.size() || text[kFirstLine.size()] == '\n'));
}

}  // namespace

std::string sectionLabel(int calculator) {
  return DocumentStore::sectionTag(calculator) + " (" + calculatorName(calculator) + ")";
}

bool CommandDocument::open(const std::string& path, bool mustExist) {
  m_path = path;
  if (path.empty()) return true;
  m_exists = FileExists(path);
  if (!m_exists) {
    if (!mustExist) return true;
    ShowFileError(m_context.messenger, kCannotOpenFile, path, FileErrorCause::FileNotFound);
    return false;
  }
  if (!m_store.ReadDocumentFile(path)) return false;
  if (!looksLikeDocument(m_store.text())) {
    printError(utf8ToCp1252("Le fichier " + path + " n'est pas un document QZ : il est laissé tel quel."));
    return false;
  }
  return true;
}

std::optional<std::string> CommandDocument::section(int calculator) const {
  if (!active()) return std::nullopt;
  return m_store.LoadSection(calculator);
}

bool CommandDocument::storeSection(int calculator, const std::optional<std::string>& body) {
  if (!active()) return true;
  m_store.StoreSection(calculator, body);
  // An unchanged document is not rewritten: its date stays, and a document
  // on a read-only medium can still be computed from.
  if (m_exists && !m_store.hasUnsavedChanges()) return true;
  if (!m_store.WriteDocumentFile(m_path)) return false;
  m_exists = true;
  return true;
}

}  // namespace qz::cli
