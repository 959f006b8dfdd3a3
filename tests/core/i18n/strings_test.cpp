#include "core/i18n/strings.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace qw::i18n {
namespace {

struct Expected {
  int index;
  const char* french;
  const char* english;
};

void expectTexts(const std::vector<Expected>& rows) {
  const auto fr = StringTable::forLanguage("Français");
  const auto en = StringTable::forLanguage("Anglais");
  for (const auto& row : rows) {
    SCOPED_TRACE("entry " + std::to_string(row.index));
    EXPECT_EQ(fr.at(row.index), row.french);
    EXPECT_EQ(en.at(row.index), row.english);
  }
}

TEST(StringTable, BothLanguagesHoldEveryEntry) {
  const auto fr = StringTable::forLanguage("Français");
  const auto en = StringTable::forLanguage("Anglais");
  EXPECT_EQ(fr.size(), kStringCount);
  EXPECT_EQ(en.size(), kStringCount);
  EXPECT_FALSE(fr.english());
  EXPECT_TRUE(en.english());
  EXPECT_EQ(fr[Str::sMainClose], "Fermer");
  EXPECT_EQ(en[Str::sMainClose], "Close");
}

TEST(StringTable, UnknownLanguageFallsBackToFrench) {
  for (const char* value :
       {"", "français", "anglais", "FRANÇAIS", "Francais", "English", "Anglais ", " Anglais",
        "Fran\xE7"
        "ais"}) {
    SCOPED_TRACE(value);
    const auto table = StringTable::forLanguage(value);
    EXPECT_FALSE(table.english());
    EXPECT_EQ(table.size(), kStringCount);
    EXPECT_EQ(table[Str::sMainClose], "Fermer");
    EXPECT_EQ(table[Str::sErrTooManyCards], "Err#100 : Vous ne pouvez pas créer plus de fiches");
  }
}

TEST(StringTable, SectionBasesAreRunningSums) {
  const auto table = StringTable::forLanguage("Anglais");
  EXPECT_EQ(table.sectionBase(Section::MainWindow), 0);
  EXPECT_EQ(table.sectionBase(Section::About), 45);
  EXPECT_EQ(table.sectionBase(Section::CardProperties), 51);
  EXPECT_EQ(table.sectionBase(Section::Categories), 64);
  EXPECT_EQ(table.sectionBase(Section::Options), 75);
  EXPECT_EQ(table.sectionBase(Section::Snippet), 98);
  EXPECT_EQ(table.sectionBase(Section::Password), 116);
  EXPECT_EQ(table.sectionBase(Section::Messages), 134);

  // Each section opens on its caption.
  EXPECT_EQ(table.at(Section::About, 0), "About");
  EXPECT_EQ(table.at(Section::CardProperties, 0), "Add a card");
  EXPECT_EQ(table.at(Section::Categories, 0), "Template management");
  EXPECT_EQ(table.at(Section::Options, 0), "Setup");
  EXPECT_EQ(table.at(Section::Snippet, 0), "Bookmark management menu");
  EXPECT_EQ(table.at(Section::Password, 0), "Password for ");
  EXPECT_EQ(table.at(Section::Messages, 1), "No more result");
  EXPECT_EQ(&table.at(Section::Options, 14), &table.at(89));
}

TEST(StringTable, LookupsOutsideTheTableThrow) {
  const auto table = StringTable::forLanguage("Français");
  EXPECT_THROW(table.at(-1), std::out_of_range);
  EXPECT_THROW(table.at(kStringCount), std::out_of_range);
  EXPECT_NO_THROW(table.at(0));
  EXPECT_NO_THROW(table.at(169));
  EXPECT_THROW(table.at(Section::About, 6), std::out_of_range);
  EXPECT_THROW(table.at(Section::MainWindow, -1), std::out_of_range);
  EXPECT_THROW(table.at(Section::Messages, kStringCount - table.sectionBase(Section::Messages)),
               std::out_of_range);
  EXPECT_EQ(table.at(Section::Messages, 35), "");
}

// Both questions put the card's name between a prefix and a suffix entry.
TEST(StringTable, MessagesFrameTheCardName) {
  const auto framed = [](std::string_view language, Str prefix, std::string_view name, Str suffix) {
    const auto table = StringTable::forLanguage(language);
    return table[prefix] + std::string(name) + table[suffix];
  };
  const Str draft = Str::sMsgRestoreDraftPrefix, draftEnd = Str::sMsgRestoreDraftSuffix;
  const Str restored = Str::sMsgRestoredPrefix, restoredEnd = Str::sMsgRestoredSuffix;
  EXPECT_EQ(framed("Anglais", draft, "X", draftEnd), "Restore the unsaved changes of card \"X\"?");
  EXPECT_EQ(framed("Français", draft, "X", draftEnd),
            "Restaurer les modifications non enregistrées de la fiche « X » ?");
  EXPECT_EQ(framed("Français", restored, "Notes", restoredEnd),
            "La fiche \"Notes\" a été récupérée depuis la dernière sauvegarde");
  EXPECT_EQ(framed("Anglais", restored, "Notes", restoredEnd),
            "Card \"Notes\" has been reloaded from last backup");
  // The draft entries were appended after the inherited ones, which keep their places.
  EXPECT_EQ(static_cast<int>(Str::sErrDraftUnreadable), 175);
}

// Outside Windows the session starts the program: that text stands beside the inherited
// table, whose entry 95 keeps naming Windows.
TEST(StringTable, TheSessionStartTextFollowsTheInheritedTable) {
  const int index = static_cast<int>(Str::sOptionsLaunchAtSessionStart);
  EXPECT_GE(index, 170);
  expectTexts(
      {{index, "Lancer KTRquillWick à l'ouverture de la session",
        "Launch KTRquillWick when the session starts"},
       {95, "Lancer KTRquillWick au démarrage de Windows", "Load KTRquillWick at startup"}});
}

// The inherited table has empty rows; ours has none, so a text added in one language only
// shows up here rather than as a blank label.
TEST(StringTable, OurOwnEntriesHaveATextInBothLanguages) {
  const auto fr = StringTable::forLanguage("Français");
  const auto en = StringTable::forLanguage("Anglais");
  for (int index = static_cast<int>(Str::sErrProtectedCardTransfer); index < kStringCount;
       ++index) {
    SCOPED_TRACE("entry " + std::to_string(index));
    EXPECT_NE(fr.at(index), "");
    EXPECT_NE(en.at(index), "");
  }
  expectTexts(
      {{static_cast<int>(Str::sFormatUnderline), "Souligné", "Underline"},
       {static_cast<int>(Str::sOptionsGlobalKeysLabel), "Touches globales :", "Global keys :"}});
}

TEST(StringTable, EmptyEntriesKeepTheirPlace) {
  const auto fr = StringTable::forLanguage("Français");
  const auto en = StringTable::forLanguage("Anglais");
  std::vector<int> empties = {43, 44, 74, 97, 112, 113, 114, 115, 119, 168, 169};
  for (int i = 122; i <= 133; ++i) empties.push_back(i);
  for (int index : empties) {
    SCOPED_TRACE("entry " + std::to_string(index));
    EXPECT_EQ(fr.at(index), "");
    EXPECT_EQ(en.at(index), "");
  }
  // Their neighbours are not empty: a missing row would shift the whole table.
  expectTexts({
      {42, "Synchroniser", "Synchronize"},
      {45, "A Propos", "About"},
      {73, "Bookmark", "Bookmark"},
      {75, "Options", "Setup"},
      {96, "Cacher KTRquillWick au démarrage", "Hide KTRquillWick at startup"},
      {111, "<Entrer le contenu ici>", "<Enter the content>"},
      {118, "<mot de passe>", "<password>"},
      {120, "Ok", "Ok"},
      {121, "Annuler", "Cancel"},
      {167, "ERR#112 : Le lien de synchro n'est pas accessible",
       "ERR#112 : The synchronization link isn't available"},
  });
}

TEST(StringTable, SampledEntriesInBothLanguages) {
  expectTexts({
      // The main window, its line functions, the dialogs and the messages.
      {0, "KTRQuillWick", "KTRQuillWick"},
      {7, "Réduire", "Minimize"},
      {9, "Options...", "Setup..."},
      {12, "ktrquillWick", "ktrquillWick"},
      {13, "Ligne # :", "Line # :"},
      {15, "Rechercher :", "Search :"},
      {17, "Propriétés de la Fiche", "Card property"},
      {20, "Gestion des Bookmark Presse-Papier", "Clipboard Bookmark Management"},
      {22, "Coller dans", "Paste Into"},
      {32, "Lignes", "Lines"},
      {37, "Catégorie", "Categories"},
      {38, "Mettre à jour", "Update"},
      {41, "Exporter le Texte", "Export in Text"},
      {24, "Recharger", "Reload"},
      {25, "Tri Normal", "Normal sort"},
      {26, "Tri Inverse", "Inverse sort"},
      {27, "Tri Numérique", "Numeric sort"},
      {28, "Tri Numérique Inverse", "Inverse Numeric sort"},
      {29, "Enlever les lignes vides", "Delete empty lines"},
      {30, "Supprimer les espaces", "Suppress space"},
      {46, "Vos fiches, toujours à portée de clavier.", "Your cards, always a key press away."},
      {47, "Fermer", "Close"},
      {48, "Logiciel libre, fourni sans garantie.", "Free software, provided without warranty."},
      {55, "Associé à :", "Associated to :"},
      {59, "Liste des Categories", "Template list"},
      {60, "Ajouter modèle", "Add template"},
      {63, "Lien de Synchronisation", "Synchronisation link"},
      {64, "Gestion des Catégories", "Template management"},
      {66, "Liste des Modèles", "Template list"},
      {72, "Standard", "Standard"},
      {77, "Fiche par défaut :", "Default card :"},
      {78, "Couleur de fonds de la fenêtre", "Window background color"},
      {93, "Couleur du Texte", "Textcolor"},
      {94, "Paramètre par défaut", "Default parameter"},
      {95, "Lancer KTRquillWick au démarrage de Windows", "Load KTRquillWick at startup"},
      {107, "OK", "OK"},
      {108, "Liste du Menus", "Menus list"},
      {110, "<Entrer le nom ici>", "<Enter the name>"},
      {134, "Err#100 : Vous ne pouvez pas créer plus de fiches",
       "Err#100 : You can create new card"},
      {135, "Plus d'occurence", "No more result"},
      {137, "<Tapez votre texte ici>", "<Enter your text here>"},
      {138, "Err#102 : Les propriétés de cette fiche ne sont pas éditables",
       "Err#102 : Properties are not editables for this card"},
      {143, "Err#104 : Ce nom existe deja dans la liste",
       "Err#104 : This name already exists in the list"},
      {147, "Le document sera imprimé sur l'imprimante par défaut, continuez ?",
       "The card will be printed on the default printer, continue ?"},
      {148, "Confirmation d'Enregistrement", "Save confirmation"},
      {150,
       "Err#201 : Cette catégorie est utilisée par certaines fiches. Vous ne pouvez effacer que "
       "les catégories non utilisées",
       "Err#201 : This template is used by some cards. It's impossible to delete a used "
       "categorie"},
      {151, "Confirmation d'Effacement", "Delete confirmation"},
      {153, "ERR#105 : Le fichier associé n'existe plus ou n'est pas accessible.",
       "ERR#105 : The linked file does not exist any more or is unaccessible"},
      {157, "ERR#109 : Problème au dernier arret du programme.", "ERR#109 : Error on last exit."},
      {160, "ERR#110 : Vous ne pouvez pas insérer des fichiers de plus de 1 Mo",
       "ERR#110 : You cannot insert file bigger than 1 Mo"},
      {161, "Le Fichier existe-déjà, voulez-vous le remplacer ?",
       "The file already exists, do you want to replace it ?"},
      {164, "L'export a été annulé", "The export has been canceled"},
      {166, "Le lien de synchro est vide. Merci de le choisir pour lancer la synchronisation",
       "Synchronization link is empty. You must set one to start the Synchronisation"},
      // Trailing blanks are kept.
      {52, "Nom de la nouvelle fiche : ", "New card name : "},
      {61, "Raccourci : ", "Choose a HotKey"},
      {86, "Taille de caractère par défaut : ", "Default font size : "},
      {116, "Mot de Passe de ", "Password for "},
      {117, "Entrer le mot de passe : ", "Enter the password : "},
      {140, "Voulez-vous supprimer la fiche : ", "Do you really want to delete the Card : "},
      {145, "Voulez-vous supprimer le Menu : ", "Do you really want to delete the Menu : "},
      {149, "Voulez-vous sauvegarder le fichier associé à : ",
       "Do you want to save the file associated to : "},
      {152,
       "Voulez-vous supprimer la Categorie : ", "Do you really want to delete the Template : "},
      // So are inner quotes.
      {4, "Coller dans \"Principal\"", "Paste in \"Main\""},
      {14, "Entrer le numéro de ligne puis appuyer sur Entrée",
       "Enter the line number and press \"Enter\""},
      {16, "Entrer le texte puis appuyer sur Entrée", "Enter the text and press \"Enter\""},
      {158, "La fiche \"", "Card \""},
      {159, "\" a été récupérée depuis la dernière sauvegarde",
       "\" has been reloaded from last backup"},
      // The wrong-password message was never translated.
      {163, "ERR#202 : Le mot de passe est mauvais...", "ERR#202 : Le mot de passe est mauvais..."},
      // The French text names the main card by its stored name, the English one calls it "Main".
      {141, "Err#103 : La Fiche \"quillWick\" ne peut pas être supprimée",
       "Err#103 : The \"Main\" card cannot be deleted"},
  });
}

}  // namespace
}  // namespace qw::i18n
