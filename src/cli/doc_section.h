// A QZ document named on the command line (--doc FILE): a calculator's
// section is read from it before a command runs, so that the calculation
// carries on from what the document holds as the window does when it opens,
// and written back after, every other section kept byte for byte.
#pragma once

#include <optional>
#include <string>

#include "cli_context.h"
#include "document/document_store.h"
#include "files/recent_files.h"

namespace qz::cli {

/// Help text of the --doc option of the calculator commands.
inline constexpr const char* kDocOptionHelp =
    "document QZ (.qz) : la section de la calculette y est lue avant le calcul, "
    "puis réécrite après (le fichier est créé s'il n'existe pas)";

class CommandDocument {
 public:
  explicit CommandDocument(CliContext& context)
      : m_context(context), m_store(context.messenger, m_recent) {}

  /// Reads the document at `path`; an empty path means no document (every
  /// call then does nothing). A file that does not exist is an empty document,
  /// created by the first store, unless `mustExist`. False after a French
  /// message on standard error when the file cannot be read or is not a QZ
  /// document: the command must then leave it alone.
  bool open(const std::string& path, bool mustExist = false);

  bool active() const { return !m_path.empty(); }
  const std::string& path() const { return m_path; }
  /// The body of `calculator`'s section, or nothing when there is none.
  std::optional<std::string> section(int calculator) const;

  /// Replaces `calculator`'s section (nothing: removes it) and writes the
  /// document through the atomic writer, unless its text did not change.
  /// False after message 30804 when the file cannot be written.
  bool storeSection(int calculator, const std::optional<std::string>& body);

 private:
  CliContext& m_context;
  RecentFiles m_recent;  // a document used from the terminal changes no recent list
  DocumentStore m_store;
  std::string m_path;
  bool m_exists = false;
};

/// "<003> (CALCULETTE GÉOMÉTRIQUE)": a section named for a message, in code page 1252.
std::string sectionLabel(int calculator);

}  // namespace qz::cli
