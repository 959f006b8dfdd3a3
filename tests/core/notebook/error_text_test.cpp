// What the user reads when a command or the start fails: every reason in the interface
// language, the system's own words only in parentheses after it.

#include "core/notebook/error_text.h"

#include <gtest/gtest.h>

#include <new>
#include <set>
#include <stdexcept>

#include "core/crypto/errors.h"
#include "core/notebook/notebook_fixture.h"
#include "core/store/store_error.h"

namespace qw::notebook {
namespace {

namespace fs = std::filesystem;
using store::Fault;
using store::StoreError;
using store::fixtures::writeBytes;

const auto kFrench = i18n::StringTable::forLanguage("Français");
const auto kEnglish = i18n::StringTable::forLanguage("Anglais");

TEST(ErrorText, AStoredFileGivesItsPathAndItsReasonInTheInterfaceLanguage) {
  const StoreError denied(fs::path("/data/3.kvn"), Fault::Unwritable, "Permission denied");
  EXPECT_EQ(errorText(denied, kFrench),
            "ERR#106 : Fichier non accessible\n/data/3.kvn\n"
            "Le fichier ne peut pas être écrit (Permission denied)");
  EXPECT_EQ(errorText(denied, kEnglish),
            "ERR#106 : File not accessible\n/data/3.kvn\nThe file cannot be written "
            "(Permission denied)");
  EXPECT_EQ(errorText(StoreError(fs::path("/data/x"), Fault::Missing), kFrench),
            "ERR#106 : Fichier non accessible\n/data/x\nLe fichier n'existe pas");
}

TEST(ErrorText, EveryFaultAndDamageHasItsOwnWordsInBothLanguages) {
  for (const auto* strings : {&kFrench, &kEnglish}) {
    std::set<std::string> said;
    for (const Fault fault : {Fault::Missing, Fault::Unreadable, Fault::IsFolder, Fault::Unwritable,
                              Fault::NotKeptAside, Fault::FolderUncreatable, Fault::NotAFolder,
                              Fault::FolderUnwritable, Fault::NoPassword, Fault::NoSealing})
      said.insert(errorText(StoreError(fs::path("f"), fault), *strings));
    for (const crypto::Damage damage :
         {crypto::Damage::Empty, crypto::Damage::CutShort, crypto::Damage::NotACard,
          crypto::Damage::NewerVersion, crypto::Damage::Altered})
      said.insert(errorText(crypto::DamagedCard(damage, "detail"), *strings));
    EXPECT_EQ(said.size(), 15u);
    for (const std::string& text : said) {
      EXPECT_EQ(text.find("detail"), std::string::npos) << text;
      EXPECT_EQ(text.find(strings->english() ? "fichier" : "cannot"), std::string::npos) << text;
    }
  }
  EXPECT_EQ(errorText(std::bad_alloc(), kFrench), "La mémoire manque pour cette opération");
  // A broken rule of the program itself: its own words stay, after the interface's.
  EXPECT_EQ(errorText(std::invalid_argument("a card needs a name"), kFrench),
            "L'opération n'a pas pu aboutir (a card needs a name)");
}

class ErrorMessages : public fixtures::NotebookFolder {
 protected:
  ErrorMessages() : NotebookFolder("Français") {}
};

TEST_F(ErrorMessages, ACardFileThatCannotBeReadIsToldInFrench) {
  makeCards({"1;-0-0:Dossier"});
  fs::remove(data / "1.kvn");
  fs::create_directory(data / "1.kvn");
  start();
  notebook->switchToPosition(1);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0], "ERR#106 : Fichier non accessible\n" + (data / "1.kvn").string() +
                                     "\nUn dossier se trouve à la place du fichier");
}

TEST_F(ErrorMessages, ADamagedProtectedCardSaysWhyInFrench) {
  makeCards({"1;-0-0:Vieille"});
  sealFile1("not an encoded card at all, and long enough for its header");
  openPosition1With("mot");
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0],
            "Le fichier de la fiche est abîmé ; il est laissé tel quel : ce n'est pas une fiche "
            "protégée");
}

TEST_F(ErrorMessages, AStartWithoutADataFolderNamesEachFolderInBothLanguages) {
  writeBytes(data, "a file where the folder should be");
  fs::create_directories(temp.path() / "user");
  writeBytes(temp.path() / "user" / "dataQuillWick", "and here too");
  try {
    loadStore();
    FAIL() << "a data folder was found";
  } catch (const std::exception& error) {
    const std::string beside = data.string() + "\n";
    const std::string perUser = (temp.path() / "user" / "dataQuillWick").string() + "\n";
    EXPECT_EQ(startFailureText(error),
              "quillWick ne peut pas démarrer : aucun dossier de données ne peut être créé ni "
              "écrit.\n" +
                  beside + "Un fichier se trouve à la place du dossier\n" + perUser +
                  "Un fichier se trouve à la place du dossier\n\n"
                  "quillWick cannot start: no data folder can be created or written.\n" +
                  beside + "A file stands where the folder should be\n" + perUser +
                  "A file stands where the folder should be");
  }
}

TEST_F(ErrorMessages, AStartThatCannotReadItsIndexSaysWhichFileInBothLanguages) {
  fs::create_directories(data / "fiches.kvn");
  try {
    loadStore();
    FAIL() << "a folder was read as the index";
  } catch (const std::exception& error) {
    const std::string text = startFailureText(error);
    EXPECT_EQ(text,
              "quillWick ne peut pas démarrer : ses données ne peuvent pas être lues ni "
              "écrites.\n" +
                  (data / "fiches.kvn").string() +
                  "\nUn dossier se trouve à la place du fichier\n\n"
                  "quillWick cannot start: its data cannot be read or written.\n" +
                  (data / "fiches.kvn").string() + "\nA folder stands where the file should be");
  }
}

}  // namespace
}  // namespace qw::notebook
