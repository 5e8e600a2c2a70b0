#include "files/display_path.h"

#include <gtest/gtest.h>

#include "files/file_places.h"
#include "files/shell_open.h"
#include "numbers/cp1252.h"

namespace qz {
namespace {

TEST(DisplayPath, DriveLetterPathsAreRecased) {
  const struct {
    const char* path;
    const char* shown;
  } cases[] = {
      {"c:\\mes documents\\note_essai.QZ", "C:\\Mes Documents\\Note_Essai.qz"},
      {"c:\\winnt\\qz\\l'essai d'un.QZ", "C:\\WinNT\\QZ\\L'essai d'un.qz"},
      {"D:", "D:"},
      {"c:\\data\\archive.tar.gz", "C:\\Data\\Archive.Tar.gz"},
      {"c:\\data\\readme.text", "C:\\Data\\Readme.Text"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(DisplayPath(c.path), c.shown);
  }
}

TEST(DisplayPath, PosixPathsStayAsTheyAre) {
  EXPECT_EQ(DisplayPath("/home/marie/Notes/essai.QZ"), "/home/marie/Notes/essai.QZ");
  EXPECT_EQ(DisplayPath("relative/x.qz"), "relative/x.qz");
}

TEST(BuildProgramPath, FoldersOfTheBaseLocations) {
  FilePlaces places{"/opt/qz/share/qz", "/home/u/.local/share/QZ", "/home/u/.cache/QZ/", "/home/u"};
  EXPECT_EQ(BuildProgramPath("__QZ__", "BAK", BaseLocation::Temporary, places), "/home/u/.cache/QZ/__QZ__.BAK");
  EXPECT_EQ(BuildProgramPath("QZ", ".LOG", BaseLocation::OperatingSystem, places), "/home/u/.local/share/QZ/QZ.LOG");
  EXPECT_EQ(BuildProgramPath("", "", BaseLocation::Program, places), "/opt/qz/share/qz");
  EXPECT_EQ(BuildProgramPath("DOCS/MANUEL_QZ2", "PDF", BaseLocation::Program, places),
            "/opt/qz/share/qz/DOCS/MANUEL_QZ2.PDF");
}

TEST(ShellFailureText, ByResultCode) {
  EXPECT_EQ(cp1252ToUtf8(ShellFailureText(31, "READER", "/x/notes.txt", "")),
            "Il n'y a pas d'application associée avec l'extension du fichier (TXT) !");
  EXPECT_EQ(cp1252ToUtf8(ShellFailureText(31, "READER", "/x/MANUEL_QZ2.PDF", "")),
            "L'application \"Acrobat Reader\" n'a pas été trouvée sur cet ordinateur !");
  EXPECT_EQ(cp1252ToUtf8(ShellFailureText(2, "READER", "/x/m.pdf", "")), "Le fichier /x/m.pdf n'a pas été trouvé !");
  EXPECT_EQ(cp1252ToUtf8(ShellFailureText(3, "L", "/p", "-x")), "Le chemin -x n'a pas été trouvé !");
  EXPECT_EQ(ShellFailureText(33, "L", "/p", ""), "");
  EXPECT_EQ(ShellFailureText(17, "L", "/p", ""), "");
}

}  // namespace
}  // namespace qz
