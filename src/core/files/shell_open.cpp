#include "files/shell_open.h"

#include <cctype>

#include "numbers/cp1252.h"

namespace qz {

namespace {

std::string noApplicationText(const std::string& path) {
  std::string extension;
  std::size_t dot = path.rfind('.');
  if (path.size() > 3 && dot != std::string::npos)
    for (char c : path.substr(dot + 1)) extension += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (extension == "MDB") return "L'application \"MS Access\" n'a pas été trouvée sur cet ordinateur !";
  if (extension == "DOC") return "L'application \"MS Word\" n'a pas été trouvée sur cet ordinateur !";
  if (extension == "XLS") return "L'application \"MS Excel\" n'a pas été trouvée sur cet ordinateur !";
  if (extension == "PDF") return "L'application \"Acrobat Reader\" n'a pas été trouvée sur cet ordinateur !";
  return "Il n'y a pas d'application associée avec l'extension du fichier (" + extension + ") !";
}

std::string templateFor(int result, const std::string& path) {
  switch (result) {
    case kShellOutOfResources: return "Le système n'a plus assez de mémoire ou de ressources !";
    case kShellFileNotFound: return "Le fichier @1 n'a pas été trouvé !";
    case kShellPathNotFound: return "Le chemin @2 n'a pas été trouvé !";
    case kShellAccessDenied: return "Le système refuse l'accès au fichier @1 !";
    case kShellOutOfMemory: return "Il n'y a pas assez de mémoire pour effectuer l'opération !";
    case kShellBadFormat:
      return "Le fichier exécutable @1 est incorrect (non-Win32® exe ou erreur dans l'image de l'exe) !";
    case kShellSharingViolation: return "Une violation de partage s'est produite !";
    case kShellIncompleteName: return "Le nom du fichier est incomplet ou incorrect !";
    case kShellDdeTimeout: return "La transaction DDE ne peut pas être achevée (dépassement de temps) !";
    case kShellDdeFailed: return "La transaction DDE a échoué !";
    case kShellDdeBusy: return "La transaction DDE ne peut pas être achevée (autres transactions DDE en cours) !";
    case kShellNoAssociation: return noApplicationText(path);
    case kShellDllNotFound: return "La DLL n'a pas été trouvée !";
    default: return "";
  }
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

}  // namespace

std::string ShellFailureText(int result, const std::string& label, const std::string& path,
                             const std::string& parameters) {
  if (result > 32) return {};
  std::string text = templateFor(result, path);  // UTF-8 source texts
  replaceAll(text, "@0", label);
  replaceAll(text, "@1", path);
  replaceAll(text, "@2", parameters);
  return utf8ToCp1252(text);
}

}  // namespace qz
