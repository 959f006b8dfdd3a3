#include "core/i18n/strings.h"

#include <iterator>
#include <stdexcept>

namespace qw::i18n {
namespace {

struct Entry {
  Str id;
  std::string_view french;
  std::string_view english;
};

// Texts are used exactly as written, typos and trailing blanks included: question texts end
// with a blank because a name is appended to them.
constexpr Entry kEntries[] = {
    // Main window
    {Str::sMainTitle, "KTRQuillWick", "KTRQuillWick"},
    {Str::sMainClose, "Fermer", "Close"},
    {Str::sMainNewCard, "Nouvelle Fiche", "New Card"},
    {Str::sMainDeleteCard, "Supprimer Fiche", "Delete Card"},
    {Str::sMainPasteInMain, "Coller dans \"Principal\"", "Paste in \"Main\""},
    {Str::sMainPasteInCurrent, "Coller dans la fiche actuelle", "Paste in current card"},
    {Str::sMainRestore, "Afficher", "Restore"},
    {Str::sMainMinimize, "Réduire", "Minimize"},
    {Str::sMainNextSearch, "Continuer la recherche", "Next Search"},
    {Str::sMainOptions, "Options...", "Setup..."},
    {Str::sMainAbout, "A Propos", "About"},
    {Str::sMainQuit, "Quitter", "Quit"},
    {Str::sMainCardName, "ktrquillWick", "ktrquillWick"},
    {Str::sMainLineLabel, "Ligne # :", "Line # :"},
    {Str::sMainLineHint, "Entrer le numéro de ligne puis appuyer sur Entrée",
     "Enter the line number and press \"Enter\""},
    {Str::sMainSearchLabel, "Rechercher :", "Search :"},
    {Str::sMainSearchHint, "Entrer le texte puis appuyer sur Entrée",
     "Enter the text and press \"Enter\""},
    {Str::sMainCardProperties, "Propriétés de la Fiche", "Card property"},
    {Str::sMainPrevious, "Précédent", "Previous"},
    {Str::sMainNext, "Suivant", "Next"},
    {Str::sMainBookmarkManagement, "Gestion des Bookmark Presse-Papier",
     "Clipboard Bookmark Management"},
    {Str::sMainCopyFrom, "Copier depuis", "Copy From"},
    {Str::sMainPasteInto, "Coller dans", "Paste Into"},
    {Str::sMainFunctionLabel, "Fonction", "Function"},
    {Str::sFuncReload, "Recharger", "Reload"},
    {Str::sFuncSortNormal, "Tri Normal", "Normal sort"},
    {Str::sFuncSortInverse, "Tri Inverse", "Inverse sort"},
    {Str::sFuncSortNumeric, "Tri Numérique", "Numeric sort"},
    {Str::sFuncSortNumericInverse, "Tri Numérique Inverse", "Inverse Numeric sort"},
    {Str::sFuncRemoveEmptyLines, "Enlever les lignes vides", "Delete empty lines"},
    {Str::sFuncRemoveSpaces, "Supprimer les espaces", "Suppress space"},
    {Str::sMainLineWord, "Ligne", "Line"},
    {Str::sMainLinesWord, "Lignes", "Lines"},
    {Str::sMainPrintHint, "Imprimer", "Print"},
    {Str::sMainNewCardFromClipboard, "Coller dans une nouvelle Fiche", "Paste in new Card"},
    {Str::sMainNewBookmarkFromClipboard, "Coller dans un nouveau Bookmark",
     "Paste in new Bookmark"},
    {Str::sMainFunctionsLabel, "Fonctions", "Functions"},
    {Str::sMainCategoriesLabel, "Catégorie", "Categories"},
    {Str::sMainCategoriesUpdate, "Mettre à jour", "Update"},
    {Str::sMainInsertHint, "Insérer", "Insert"},
    {Str::sMainExportRtfHint, "Exporter en RTF", "Export in RTF"},
    {Str::sMainExportTextHint, "Exporter le Texte", "Export in Text"},
    {Str::sMainSynchroHint, "Synchroniser", "Synchronize"},
    {Str::sMainReserved1, "", ""},
    {Str::sMainReserved2, "", ""},
    // About dialog
    {Str::sAboutTitle, "A Propos", "About"},
    {Str::sAboutTextLine1, "Vos fiches, toujours à portée de clavier.",
     "Your cards, always a key press away."},
    {Str::sAboutClose, "Fermer", "Close"},
    {Str::sAboutTextLine2, "Logiciel libre, fourni sans garantie.",
     "Free software, provided without warranty."},
    {Str::sAboutSpare1, "A Propos", "About"},
    {Str::sAboutSpare2, "A Propos", "About"},
    // Card properties dialog
    {Str::sPropsAddTitle, "Ajouter une Fiche", "Add a card"},
    {Str::sPropsNameLabel, "Nom de la nouvelle fiche : ", "New card name : "},
    {Str::sPropsAdd, "Ajouter", "Add"},
    {Str::sPropsCancel, "Annuler", "Cancel"},
    {Str::sPropsLinkedFileLabel, "Associé à :", "Associated to :"},
    {Str::sPropsBrowse, "Parcourir...", "Browse..."},
    {Str::sPropsCancelSpare, "Annuler", "Cancel"},
    {Str::sPropsModify, "Modifier", "Modify"},
    {Str::sPropsCategoryLabel, "Liste des Categories", "Template list"},
    {Str::sPropsAddCategory, "Ajouter modèle", "Add template"},
    {Str::sPropsHotKeyLabel, "Raccourci : ", "Choose a HotKey"},
    {Str::sPropsNoHotKey, "Aucun", "None"},
    {Str::sPropsSynchroLabel, "Lien de Synchronisation", "Synchronisation link"},
    // Category manager dialog
    {Str::sCategTitle, "Gestion des Catégories", "Template management"},
    {Str::sCategNameLabel, "Nom de la Categorie", "Template name"},
    {Str::sCategListLabel, "Liste des Modèles", "Template list"},
    {Str::sCategAdd, "Ajouter", "Add"},
    {Str::sCategDelete, "Supprimer", "Delete"},
    {Str::sCategClose, "Fermer", "Close"},
    {Str::sCategModify, "Modifier", "Modify"},
    {Str::sCategNew, "Nouveau", "New"},
    {Str::sCategStandard, "Standard", "Standard"},
    {Str::sCategBookmark, "Bookmark", "Bookmark"},
    {Str::sCategReserved, "", ""},
    // Options dialog
    {Str::sOptionsTitle, "Options", "Setup"},
    {Str::sOptionsLanguageLabel, "Langue :", "Language :"},
    {Str::sOptionsDefaultCardLabel, "Fiche par défaut :", "Default card :"},
    {Str::sOptionsBackgroundColorLabel, "Couleur de fonds de la fenêtre",
     "Window background color"},
    {Str::sOptionsCardNameColorLabel, "Couleur des noms des fiches", "Card name color"},
    {Str::sOptionsActiveCardColorLabel, "Couleur de la fiche active", "Active card name color"},
    {Str::sOptionsSample1, "Fiche 1", "Card 1"},
    {Str::sOptionsSample2, "Fiche 2", "Card 2"},
    {Str::sOptionsSample3, "Fiche 3", "Card 3"},
    {Str::sOptionsTemplate, "Modèle", "Template"},
    {Str::sOptionsTemplateManagement, "Gestion des Modèles", "Template Management"},
    {Str::sOptionsDefaultFontSize, "Taille de caractère par défaut : ", "Default font size : "},
    {Str::sOptionsDefaultFontName, "Police de caractère par défaut : ", "Default font name : "},
    {Str::sOptionsSaveTemplate, "Sauver les modifications du modèle", "Save template"},
    {Str::sOptionsSaveAndClose, "Sauver et Fermer", "Save and Close"},
    {Str::sOptionsChange, "Changer", "Change"},
    {Str::sOptionsCancel, "Annuler", "Cancel"},
    {Str::sOptionsBackground, "Couleur de Fond", "Background"},
    {Str::sOptionsTextColor, "Couleur du Texte", "Textcolor"},
    {Str::sOptionsDefaults, "Paramètre par défaut", "Default parameter"},
    {Str::sOptionsLaunchAtStartup, "Lancer KTRquillWick au démarrage de Windows",
     "Load KTRquillWick at startup"},
    {Str::sOptionsHideAtStartup, "Cacher KTRquillWick au démarrage",
     "Hide KTRquillWick at startup"},
    {Str::sOptionsReserved, "", ""},
    // Snippet window
    {Str::sClipTitle, "Gestion du Menu de Bookmark", "Bookmark management menu"},
    {Str::sClipNameLabel, "Nom du Menu :", "Menu name :"},
    {Str::sClipNew, "Nouveau", "New"},
    {Str::sClipAdd, "Ajouter", "Add"},
    {Str::sClipModify, "Modifier", "Modify"},
    {Str::sClipSave, "Sauver", "Save"},
    {Str::sClipDelete, "Supprimer", "Delete"},
    {Str::sClipUp, "Monter", "Up"},
    {Str::sClipDown, "Descendre", "Down"},
    {Str::sClipOk, "OK", "OK"},
    {Str::sClipListHint, "Liste du Menus", "Menus list"},
    {Str::sClipContentHint, "Contenu du Presse-Papier", "Clipboard content"},
    {Str::sClipNamePlaceholder, "<Entrer le nom ici>", "<Enter the name>"},
    {Str::sClipContentPlaceholder, "<Entrer le contenu ici>", "<Enter the content>"},
    {Str::sClipReserved1, "", ""},
    {Str::sClipReserved2, "", ""},
    {Str::sClipReserved3, "", ""},
    {Str::sClipReserved4, "", ""},
    // Password dialog
    {Str::sPasswordTitlePrefix, "Mot de Passe de ", "Password for "},
    {Str::sPasswordPrompt, "Entrer le mot de passe : ", "Enter the password : "},
    {Str::sPasswordPlaceholder, "<mot de passe>", "<password>"},
    {Str::sPasswordCheckBox, "", ""},
    {Str::sPasswordOk, "Ok", "Ok"},
    {Str::sPasswordCancel, "Annuler", "Cancel"},
    {Str::sPasswordReserved1, "", ""},
    {Str::sPasswordReserved2, "", ""},
    {Str::sPasswordReserved3, "", ""},
    {Str::sPasswordReserved4, "", ""},
    {Str::sPasswordReserved5, "", ""},
    {Str::sPasswordReserved6, "", ""},
    {Str::sPasswordReserved7, "", ""},
    {Str::sPasswordReserved8, "", ""},
    {Str::sPasswordReserved9, "", ""},
    {Str::sPasswordReserved10, "", ""},
    {Str::sPasswordReserved11, "", ""},
    {Str::sPasswordReserved12, "", ""},
    // Messages
    {Str::sErrTooManyCards, "Err#100 : Vous ne pouvez pas créer plus de fiches",
     "Err#100 : You can create new card"},
    {Str::sMsgNoMoreResults, "Plus d'occurence", "No more result"},
    {Str::sErrCardNameRequired, "Err#101 : Vous devez entrer un nom de Fiche",
     "Err#101 : You must enter a card name"},
    {Str::sMsgTypeTextHere, "<Tapez votre texte ici>", "<Enter your text here>"},
    {Str::sErrPropsNotEditable, "Err#102 : Les propriétés de cette fiche ne sont pas éditables",
     "Err#102 : Properties are not editables for this card"},
    {Str::sMsgDeleteCardTitle, "Confirmation de Suppression", "Delete confirmation"},
    {Str::sMsgDeleteCardQuestion,
     "Voulez-vous supprimer la fiche : ", "Do you really want to delete the Card : "},
    {Str::sErrMainCardUndeletable, "Err#103 : La Fiche \"quillWick\" ne peut pas être supprimée",
     "Err#103 : The \"Main\" card cannot be deleted"},
    {Str::sMsgNotFound, "Non trouvé", "Not found"},
    {Str::sErrNameExists, "Err#104 : Ce nom existe deja dans la liste",
     "Err#104 : This name already exists in the list"},
    {Str::sMsgDeleteMenuTitle, "Confirmation de Suppression", "Delete confirmation"},
    {Str::sMsgDeleteMenuQuestion,
     "Voulez-vous supprimer le Menu : ", "Do you really want to delete the Menu : "},
    {Str::sMsgPrintTitle, "Impression", "Print"},
    {Str::sMsgPrintQuestion, "Le document sera imprimé sur l'imprimante par défaut, continuez ?",
     "The card will be printed on the default printer, continue ?"},
    {Str::sMsgSaveLinkedTitle, "Confirmation d'Enregistrement", "Save confirmation"},
    {Str::sMsgSaveLinkedQuestion, "Voulez-vous sauvegarder le fichier associé à : ",
     "Do you want to save the file associated to : "},
    {Str::sErrCategoryInUse,
     "Err#201 : Cette catégorie est utilisée par certaines fiches. Vous ne pouvez effacer que les "
     "catégories non utilisées",
     "Err#201 : This template is used by some cards. It's impossible to delete a used categorie"},
    {Str::sMsgDeleteCategoryTitle, "Confirmation d'Effacement", "Delete confirmation"},
    {Str::sMsgDeleteCategoryQuestion,
     "Voulez-vous supprimer la Categorie : ", "Do you really want to delete the Template : "},
    {Str::sErrLinkedFileMissing,
     "ERR#105 : Le fichier associé n'existe plus ou n'est pas accessible.",
     "ERR#105 : The linked file does not exist any more or is unaccessible"},
    {Str::sErrFileNotAccessible, "ERR#106 : Fichier non accessible",
     "ERR#106 : File not accessible"},
    {Str::sErrEmptyFile, "ERR#107 : Fichier vide", "ERR#107 : Empty file"},
    {Str::sErrEmptyShortcut, "ERR#108 : Raccourci vide", "ERR#108 : Empty shortcut"},
    {Str::sErrLastExit, "ERR#109 : Problème au dernier arret du programme.",
     "ERR#109 : Error on last exit."},
    {Str::sMsgRestoredPrefix, "La fiche \"", "Card \""},
    {Str::sMsgRestoredSuffix, "\" a été récupérée depuis la dernière sauvegarde",
     "\" has been reloaded from last backup"},
    {Str::sErrFileTooBig, "ERR#110 : Vous ne pouvez pas insérer des fichiers de plus de 1 Mo",
     "ERR#110 : You cannot insert file bigger than 1 Mo"},
    {Str::sMsgReplaceFileQuestion, "Le Fichier existe-déjà, voulez-vous le remplacer ?",
     "The file already exists, do you want to replace it ?"},
    {Str::sMsgReplaceFileTitle, "Confirmation de Remplacement", "Replacement Confirmation"},
    {Str::sErrWrongPassword, "ERR#202 : Le mot de passe est mauvais...",
     "ERR#202 : Le mot de passe est mauvais..."},
    {Str::sMsgExportCancelled, "L'export a été annulé", "The export has been canceled"},
    {Str::sErrEmptyPassword, "ERR#111 : Le mot de passe ne peut être vide",
     "ERR#111 : The password cannot be empty"},
    {Str::sMsgSynchroLinkEmpty,
     "Le lien de synchro est vide. Merci de le choisir pour lancer la synchronisation",
     "Synchronization link is empty. You must set one to start the Synchronisation"},
    {Str::sErrSynchroLinkUnavailable, "ERR#112 : Le lien de synchro n'est pas accessible",
     "ERR#112 : The synchronization link isn't available"},
    {Str::sMsgReserved1, "", ""},
    {Str::sMsgReserved2, "", ""},
    // Two short lines: the popup that shows it is 201 pixels wide.
    {Str::sErrProtectedCardTransfer, "Fiche protégée\nOuvrez-la pour coller ou copier",
     "Protected card\nOpen it to paste or copy"},
    {Str::sErrDamagedCard, "Le fichier de la fiche est abîmé ; il est laissé tel quel : ",
     "The card's file is damaged; it is left as it is: "},
    {Str::sMsgRestoreDraftTitle, "Modifications non enregistrées", "Unsaved changes"},
    {Str::sMsgRestoreDraftPrefix, "Restaurer les modifications non enregistrées de la fiche « ",
     "Restore the unsaved changes of card \""},
    {Str::sMsgRestoreDraftSuffix, " » ?", "\"?"},
    {Str::sErrDraftUnreadable,
     "Les modifications non enregistrées de cette fiche ne peuvent pas être lues ; elles sont "
     "abandonnées, la fiche reste telle qu'enregistrée : ",
     "The unsaved changes of this card cannot be read; they are dropped and the card stays as "
     "it was saved: "},
    {Str::sMsgIndexRepaired,
     "Le fichier des fiches manquait ou était illisible ; fiches récupérées : ",
     "The card index was missing or could not be read; cards recovered: "},
    {Str::sMsgOldIndexKeptAs, "L'ancien fichier est conservé sous : ", "The old file is kept as: "},
    {Str::sRecoveredCardName, "Fiche ", "Card "},
    // Why a command or the start failed: a header, then the file and the reason, the system's
    // own words after it in parentheses.
    {Str::sErrCannotStartNoFolder,
     "quillWick ne peut pas démarrer : aucun dossier de données ne peut être créé ni écrit.",
     "quillWick cannot start: no data folder can be created or written."},
    {Str::sErrCannotStartData,
     "quillWick ne peut pas démarrer : ses données ne peuvent pas être lues ni écrites.",
     "quillWick cannot start: its data cannot be read or written."},
    {Str::sFaultMissing, "Le fichier n'existe pas", "The file does not exist"},
    {Str::sFaultUnreadable, "Le fichier ne peut pas être lu", "The file cannot be read"},
    {Str::sFaultIsFolder, "Un dossier se trouve à la place du fichier",
     "A folder stands where the file should be"},
    {Str::sFaultUnwritable, "Le fichier ne peut pas être écrit", "The file cannot be written"},
    {Str::sFaultNotKeptAside, "Le fichier abîmé ne peut pas être mis de côté",
     "The damaged file cannot be moved aside"},
    {Str::sFaultFolderUncreatable, "Le dossier ne peut pas être créé",
     "The folder cannot be created"},
    {Str::sFaultNotAFolder, "Un fichier se trouve à la place du dossier",
     "A file stands where the folder should be"},
    {Str::sFaultFolderUnwritable, "Aucun fichier ne peut être écrit dans le dossier",
     "No file can be written in the folder"},
    {Str::sFaultNoPassword, "La fiche protégée ne peut pas être enregistrée sans son mot de passe",
     "The protected card cannot be saved without its password"},
    {Str::sFaultNoSealing,
     "Les fiches protégées ne sont pas disponibles dans cette version du programme",
     "Protected cards are not available in this build of the program"},
    {Str::sDamageEmpty, "il est vide", "it is empty"},
    {Str::sDamageCutShort, "il est tronqué", "it is cut short"},
    {Str::sDamageNotACard, "ce n'est pas une fiche protégée", "it is not a protected card"},
    {Str::sDamageNewerVersion, "il vient d'une version plus récente du programme",
     "it comes from a newer version of the program"},
    {Str::sDamageAltered, "son contenu a été altéré", "its content was altered"},
    {Str::sErrOutOfMemory, "La mémoire manque pour cette opération",
     "There is not enough memory for this"},
    {Str::sErrUnexpected, "L'opération n'a pas pu aboutir", "The operation could not be completed"},
    {Str::sOptionsLaunchAtSessionStart, "Lancer KTRquillWick à l'ouverture de la session",
     "Launch KTRquillWick when the session starts"},
    {Str::sKeysUnavailableOnThisDesktop,
     "Les touches globales ne sont pas disponibles sur ce bureau. Les réglages du clavier "
     "du bureau peuvent lier ces commandes à des touches :\n"
     "quillwick --show, quillwick --copy 1 … 9, quillwick --feed 1 … 9, "
     "quillwick --next-line, quillwick --new-from-clipboard.",
     "Global keys are not available on this desktop. The desktop's keyboard settings can "
     "bind these commands to keys:\n"
     "quillwick --show, quillwick --copy 1 … 9, quillwick --feed 1 … 9, "
     "quillwick --next-line, quillwick --new-from-clipboard."},
    {Str::sKeysTakenElsewhere,
     "Ces touches globales sont déjà prises par un autre programme ou par le bureau et "
     "ne fonctionneront pas : %1.\nLes options (Ctrl+O) peuvent les déplacer sur %2.",
     "These global keys are kept by another program or by the desktop and will not work: "
     "%1.\nThe options (Ctrl+O) can move them to %2."},
    {Str::sKeysStandIn, "\n%1 affiche la fenêtre en attendant.",
     "\n%1 shows the window meanwhile."},
    {Str::sMainShowList, "Afficher la liste des fiches", "Show the card list"},
    {Str::sMainHideList, "Masquer la liste des fiches", "Hide the card list"},
    {Str::sMainCards, "Fiches", "Cards"},
    {Str::sOptionsGlobalKeysLabel, "Touches globales :", "Global keys :"},
    {Str::sAboutDataFolderPrefix, "Vos fiches sont rangées dans ", "Your cards are kept in "},
    {Str::sErrNoPrinter, "Aucune imprimante n'est installée : la fiche ne peut pas être imprimée.",
     "No printer is installed: the card cannot be printed."},
    {Str::sFormatBold, "Gras", "Bold"},
    {Str::sFormatItalic, "Italique", "Italic"},
    {Str::sFormatUnderline, "Souligné", "Underline"},
    {Str::sFormatWordWrap, "Retour à la ligne", "Word wrap"},
    {Str::sFormatFontSize, "Taille de la police", "Font size"},
    {Str::sFormatFont, "Police", "Font"},
    {Str::sFormatTextColour, "Couleur du texte", "Text colour"},
    {Str::sFormatBackgroundColour, "Couleur du fond", "Background colour"},
    {Str::sCliDescription,
     "Fiches de notes gardées dans la zone de notification. Sans option, affiche la fenêtre du "
     "programme lancé.",
     "Note cards kept in the system tray. Without an option, shows the running program's window."},
    {Str::sCliShow, "Affiche la fenêtre (comme Win+F2)", "Shows the window (as Win+F2 does)"},
    {Str::sCliToggle, "Affiche la fenêtre, ou la cache quand elle est affichée",
     "Shows the window, or hides it when it is shown"},
    {Str::sCliCopy, "Met le texte de la touche N (1 à 9) sur le presse-papiers (Win+N)",
     "Puts the text of hot key N (1 to 9) on the clipboard (Win+N)"},
    {Str::sCliFeed,
     "Donne le texte de la touche N ligne par ligne, la première tout de suite (Win+Maj+N)",
     "Feeds the text of hot key N line by line, the first one now (Win+Shift+N)"},
    {Str::sCliNextLine, "Met la ligne suivante sur le presse-papiers (Win+C)",
     "Puts the next line on the clipboard (Win+C)"},
    {Str::sCliNewFromClipboard, "Fait une nouvelle fiche du presse-papiers (Win+V)",
     "Makes a new card of the clipboard (Win+V)"},
    {Str::sCliList,
     "Liste les fiches : numéro, touche, catégorie et nom, séparés par des tabulations",
     "Lists the cards: number, hot key, category and name, separated by tabs"},
    {Str::sCliJson, "Avec --list : la liste en JSON", "With --list: the list as JSON"},
    {Str::sCliPrint, "Écrit le texte de la fiche FICHE sur la sortie standard",
     "Writes the text of card CARD to standard output"},
    {Str::sCliAppend, "Ajoute l'entrée standard à la fin de la fiche FICHE (comme « Coller dans »)",
     "Appends standard input to the end of card CARD (as \"Paste into\" does)"},
    {Str::sCliCardValue, "FICHE", "CARD"},
    {Str::sCliCardHelp,
     "FICHE est un numéro de --list, - pour la fiche principale, ou le nom d'une fiche.",
     "CARD is a number as --list prints it, - for the main card, or a card's name."},
    {Str::sCliUnknownOption, "Option inconnue : %1 (--help donne la liste)",
     "Unknown option: %1 (--help lists them)"},
    {Str::sCliBadArguments, "Arguments incorrects : %1", "Bad arguments: %1"},
    {Str::sCliOneCommand, "Une seule commande à la fois", "One command at a time"},
    {Str::sCliSlotNumber, "N est un chiffre de 1 à 9", "N is a digit from 1 to 9"},
    {Str::sCliTextTooLong, "Le texte à ajouter dépasse 1 000 000 octets",
     "The text to append is over 1,000,000 bytes"},
    {Str::sCliTextNotUtf8, "Le texte à ajouter n'est pas en UTF-8",
     "The text to append is not UTF-8"},
    {Str::sCliNoSuchCard, "Aucune fiche ne porte ce numéro ni ce nom : %1",
     "No card has this number or name: %1"},
    {Str::sCliSharedName, "Plusieurs fiches portent ce nom ; donnez son numéro (--list) : %1",
     "More than one card has this name; give its number (--list): %1"},
    {Str::sCliProtectedCard,
     "Une fiche protégée n'est jamais lue ni écrite depuis la ligne de commande : %1",
     "A protected card is never read or written from the command line: %1"},
    {Str::sCliNothingToFeed, "Aucun texte n'est donné ligne par ligne : --feed N d'abord",
     "No text is being fed line by line: --feed N first"},
    {Str::sCliRequestRefused, "Le programme lancé a refusé la demande : elle est mal formée",
     "The running program refused the request: it is malformed"},
    {Str::sCliNotAnswering, "quillWick est déjà lancé mais ne répond pas",
     "quillWick is running but does not answer"},
    {Str::sCliNotStarted, "quillWick n'a pas pu être lancé pour servir la commande",
     "quillWick could not be started to serve the command"},
    {Str::sCliHelp, "Affiche cette aide", "Shows this help"},
    {Str::sCliVersion, "Affiche la version du programme", "Shows the program's version"},
    {Str::sOptionsLanguageAtNextStart,
     "La langue choisie s'appliquera au prochain démarrage de quillWick.",
     "The chosen language applies from the next start of quillWick."},
    {Str::sTrayFirstStart,
     "quillWick reste dans la zone de notification. Cliquez sur son icône ou appuyez sur %1 "
     "pour afficher sa fenêtre.",
     "quillWick stays in the notification area. Click its icon or press %1 to show its "
     "window."},
    {Str::sTrayFirstStartNoKey,
     "quillWick reste dans la zone de notification. Cliquez sur son icône pour afficher sa "
     "fenêtre.",
     "quillWick stays in the notification area. Click its icon to show its window."},
    {Str::sFindTitle, "Rechercher dans toutes les fiches", "Find in all cards"},
    {Str::sFindMenu, "Rechercher dans toutes les fiches...", "Find in All Cards..."},
    {Str::sFindIgnoreAccents, "&Ignorer les accents", "&Ignore accents"},
    {Str::sFindShownCategoriesOnly, "&Seulement les catégories affichées",
     "&Only the shown categories"},
    {Str::sFindColumnCard, "Fiche", "Card"},
    {Str::sFindColumnLine, "Ligne", "Line"},
    {Str::sFindColumnText, "Texte", "Text"},
    {Str::sFindSearching, "Recherche en cours...", "Searching..."},
    {Str::sFindNoHit, "Non trouvé", "Not found"},
    {Str::sFindHits, "%1 occurrence(s) dans %2 fiche(s)", "%1 hit(s) in %2 card(s)"},
    {Str::sFindListedOnly, "les %1 premières sont listées", "the first %1 are listed"},
    {Str::sFindSkippedProtected, "%1 fiche(s) protégée(s) non lue(s)",
     "%1 protected card(s) not read"},
    {Str::sFindUnreadable, "fichier illisible", "file unreadable"},
    {Str::sFindHitsList, "Occurrences trouvées", "Hits found"},
    {Str::sFindField, "&Rechercher :", "&Find:"},
    {Str::sCliFind,
     "Écrit chaque ligne des fiches qui contient TEXTE : numéro, ligne, nom, texte de la ligne",
     "Prints every line of the cards that holds TEXT: number, line, name, the line's text"},
    {Str::sCliTextValue, "TEXTE", "TEXT"},
    {Str::sCliFindOneLine, "TEXTE tient sur une ligne et n'est pas vide",
     "TEXT is one line and not empty"},
    {Str::sCliNothingFound, "Aucune fiche ne contient : %1", "No card holds: %1"},
    {Str::sCliFindMore, "Seules les %1 premières occurrences sont écrites",
     "Only the first %1 hits are printed"},
    {Str::sKeyShowWindow, "Afficher la fenêtre de quillWick", "Show the quillWick window"},
    {Str::sKeyCopyCard, "Copier la fiche %1 dans le presse-papiers",
     "Copy card %1 to the clipboard"},
    {Str::sKeyFeedCard, "Donner la fiche %1 ligne par ligne", "Feed card %1 line by line"},
    {Str::sKeyNewCardFromClipboard, "Nouvelle fiche du presse-papiers",
     "New card from the clipboard"},
    {Str::sKeyNextFeedLine, "Ligne suivante de la fiche donnée", "Next line of the fed card"},
};

static_assert(std::size(kEntries) == kStringCount);

constexpr bool entriesInIndexOrder() {
  for (int i = 0; i < kStringCount; ++i) {
    if (static_cast<int>(kEntries[i].id) != i) return false;
  }
  return true;
}
static_assert(entriesInIndexOrder(), "each row must sit at the index of its name");

// In the order of Section.
constexpr std::array<int, 8> kSectionSizes = {45, 6, 13, 11, 23, 18, 18, 138};

constexpr int sumOfSizes() {
  int sum = 0;
  for (int size : kSectionSizes) sum += size;
  return sum;
}
static_assert(sumOfSizes() == kStringCount);

}  // namespace

StringTable::StringTable(bool english) : english_(english) {
  texts_.reserve(kStringCount);
  for (const Entry& entry : kEntries) texts_.emplace_back(english ? entry.english : entry.french);
  int base = 0;
  for (std::size_t s = 0; s < kSectionSizes.size(); ++s) {
    bases_[s] = base;
    base += kSectionSizes[s];
  }
}

StringTable StringTable::forLanguage(std::string_view language) {
  // "Français" and any value we do not know both give French.
  return StringTable(language == "Anglais");
}

StringTable StringTable::forLanguage(Language language) {
  return StringTable(language == Language::English);
}

const std::string& StringTable::at(int index) const {
  if (index < 0 || index >= size()) {
    throw std::out_of_range("string table index " + std::to_string(index));
  }
  return texts_[static_cast<std::size_t>(index)];
}

const std::string& StringTable::at(Section section, int offset) const {
  const auto s = static_cast<std::size_t>(section);
  if (offset < 0 || offset >= kSectionSizes[s]) {
    throw std::out_of_range("string table section offset " + std::to_string(offset));
  }
  return texts_[static_cast<std::size_t>(bases_[s]) + static_cast<std::size_t>(offset)];
}

}  // namespace qw::i18n
