#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "numbers/cp1252.h"
#include "numbers/string_table.h"

namespace {

struct ExpectedText {
    const char* name;
    int id;
    const char* text;
};

// Texts are compared byte for byte in UTF-8: blanks, line breaks, quotes,
// "@" marks, printf conversions and plural groups must all be kept.
const ExpectedText kExpectedTexts[] = {
    {"document template", 2, " QZ\nQZ\nQZ Document\n\n\nQZ.Document\nQZ Document"},
    {"smallest magnitude", 3, "Plus petite valeur = |%g| !"},
    {"selection option with leading blank", 14, " Valeurs x"},
    {"copy refused, quoted phrase", 25, "Copier impossible :\n\n\"Sélectionner un groupe de cellule\"."},
    {"paste refused, argument mark", 29, "Opération impossible :\n\n< @ > !"},
    {"version line", 34, "Version %s - %s"},
    {"window title prefix", 78, "  KELDORAN - QZ"},
    {"save on leaving", 80, "Enregistrer les données du fichier :\n\n%s ?"},
    {"clear every calculator", 92, "Toutes les valeurs contenues dans l'ensemble\ndes calculettes vont être effacées !\n\nConfirmation ?"},
    {"manual reader missing", 106, "Vérifier que le programme de lecture des fichier PDF\nAcrobat Reader est bien installé sur votre ordinateur\nou accessible via un disque réseau.\n\nDans le cas contraire, installez Acrobat Reader 4\nà l'aide du CD-ROM diffusé par KELDORAN."},
    {"regression interrupted", 117, "Le calcul de la régression a été interrompu !\n\n\"Calcul des sommes impossible\"."},
    {"document filter", 132, "QZ (*.qz)|*.qz|"},
    {"open dialog title", 133, " Ouvrir un fichier"},
    {"error heading", 142, "ERREUR"},
    {"check heading", 144, "CONTRÔLE"},
    {"note heading", 165, "NOTA :"},
    {"expression fault location", 167, "\n\n[ -> fonction y = f(x) ]"},
    {"mathematical error", 185, "Erreur mathématique !"},
    {"folder creation", 218, "Impossible de créer le dossier %s."},
    {"page count with plural group", 288, "- le document imprimé contient un total de %d page{|s} -"},
    {"file opening", 289, "Impossible d'ouvrir le fichier %s."},
    {"first file-error cause", 600, "Pas d'erreur"},
    {"last file-error cause", 614, "La fin du fichier a été atteinte."},
    {"division by zero", 1001, "Division par zéro !"},
    {"overflow in a quotient", 1004, "Dépassement de capacité !"},
    {"first figure caption", 7001, "HAUTEURS"},
    {"file saving", 30804, "Impossible d'enregistrer le fichier %s !"},
};

TEST(StringTable, RepresentativeTextsAreExact) {
    for (const ExpectedText& row : kExpectedTexts) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(qz::stringTextUtf8(row.id), std::string_view(row.text));
    }
}

TEST(StringTable, UnknownIdsGiveEmptyText) {
    EXPECT_TRUE(qz::stringTextUtf8(-1).empty());
    EXPECT_TRUE(qz::stringTextUtf8(0).empty());
    EXPECT_TRUE(qz::stringTextUtf8(99999).empty());
}

TEST(StringTable, IdsAreStrictlyAscendingAndUnique) {
    const std::vector<int> ids = qz::stringTableIds();
    ASSERT_FALSE(ids.empty());
    for (std::size_t i = 1; i < ids.size(); ++i) {
        SCOPED_TRACE("position " + std::to_string(i));
        EXPECT_LT(ids[i - 1], ids[i]);
    }
    for (int id : ids) {
        SCOPED_TRACE("id " + std::to_string(id));
        EXPECT_FALSE(qz::stringTextUtf8(id).empty());
    }
}

TEST(StringTable, EveryTextSurvivesCodePage1252) {
    for (int id : qz::stringTableIds()) {
        SCOPED_TRACE("id " + std::to_string(id));
        const std::string_view text = qz::stringTextUtf8(id);
        const std::string singleByte = qz::utf8ToCp1252(text);
        EXPECT_EQ(qz::cp1252ToUtf8(singleByte), std::string(text));
    }
    // The circumflex O of the check heading is one byte in the single-byte form.
    EXPECT_EQ(qz::utf8ToCp1252(qz::stringTextUtf8(144)), std::string("CONTR\xD4LE"));
}

}  // namespace
