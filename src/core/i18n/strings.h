#pragma once
// The interface texts: the 170 inherited entries and our own after them, French or English,
// chosen once at start.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace qw::i18n {

inline constexpr int kStringCount = 267;

// Every entry by name; the value is its fixed index in the table.
enum class Str : int {
  // Main window
  sMainTitle = 0,
  sMainClose = 1,
  sMainNewCard = 2,
  sMainDeleteCard = 3,
  sMainPasteInMain = 4,
  sMainPasteInCurrent = 5,
  sMainRestore = 6,
  sMainMinimize = 7,
  sMainNextSearch = 8,
  sMainOptions = 9,
  sMainAbout = 10,
  sMainQuit = 11,
  sMainCardName = 12,
  sMainLineLabel = 13,
  sMainLineHint = 14,
  sMainSearchLabel = 15,
  sMainSearchHint = 16,
  sMainCardProperties = 17,
  sMainPrevious = 18,
  sMainNext = 19,
  sMainBookmarkManagement = 20,
  sMainCopyFrom = 21,
  sMainPasteInto = 22,
  sMainFunctionLabel = 23,
  sFuncReload = 24,
  sFuncSortNormal = 25,
  sFuncSortInverse = 26,
  sFuncSortNumeric = 27,
  sFuncSortNumericInverse = 28,
  sFuncRemoveEmptyLines = 29,
  sFuncRemoveSpaces = 30,
  sMainLineWord = 31,
  sMainLinesWord = 32,
  sMainPrintHint = 33,
  sMainNewCardFromClipboard = 34,
  sMainNewBookmarkFromClipboard = 35,
  sMainFunctionsLabel = 36,
  sMainCategoriesLabel = 37,
  sMainCategoriesUpdate = 38,
  sMainInsertHint = 39,
  sMainExportRtfHint = 40,
  sMainExportTextHint = 41,
  sMainSynchroHint = 42,
  sMainReserved1 = 43,
  sMainReserved2 = 44,
  // About dialog
  sAboutTitle = 45,
  sAboutTextLine1 = 46,
  sAboutClose = 47,
  sAboutTextLine2 = 48,
  sAboutSpare1 = 49,
  sAboutSpare2 = 50,
  // Card properties dialog
  sPropsAddTitle = 51,
  sPropsNameLabel = 52,
  sPropsAdd = 53,
  sPropsCancel = 54,
  sPropsLinkedFileLabel = 55,
  sPropsBrowse = 56,
  sPropsCancelSpare = 57,
  sPropsModify = 58,
  sPropsCategoryLabel = 59,
  sPropsAddCategory = 60,
  sPropsHotKeyLabel = 61,
  sPropsNoHotKey = 62,
  sPropsSynchroLabel = 63,
  // Category manager dialog
  sCategTitle = 64,
  sCategNameLabel = 65,
  sCategListLabel = 66,
  sCategAdd = 67,
  sCategDelete = 68,
  sCategClose = 69,
  sCategModify = 70,
  sCategNew = 71,
  sCategStandard = 72,
  sCategBookmark = 73,
  sCategReserved = 74,
  // Options dialog
  sOptionsTitle = 75,
  sOptionsLanguageLabel = 76,
  sOptionsDefaultCardLabel = 77,
  sOptionsBackgroundColorLabel = 78,
  sOptionsCardNameColorLabel = 79,
  sOptionsActiveCardColorLabel = 80,
  sOptionsSample1 = 81,
  sOptionsSample2 = 82,
  sOptionsSample3 = 83,
  sOptionsTemplate = 84,
  sOptionsTemplateManagement = 85,
  sOptionsDefaultFontSize = 86,
  sOptionsDefaultFontName = 87,
  sOptionsSaveTemplate = 88,
  sOptionsSaveAndClose = 89,
  sOptionsChange = 90,
  sOptionsCancel = 91,
  sOptionsBackground = 92,
  sOptionsTextColor = 93,
  sOptionsDefaults = 94,
  sOptionsLaunchAtStartup = 95,
  sOptionsHideAtStartup = 96,
  sOptionsReserved = 97,
  // Snippet window
  sClipTitle = 98,
  sClipNameLabel = 99,
  sClipNew = 100,
  sClipAdd = 101,
  sClipModify = 102,
  sClipSave = 103,
  sClipDelete = 104,
  sClipUp = 105,
  sClipDown = 106,
  sClipOk = 107,
  sClipListHint = 108,
  sClipContentHint = 109,
  sClipNamePlaceholder = 110,
  sClipContentPlaceholder = 111,
  sClipReserved1 = 112,
  sClipReserved2 = 113,
  sClipReserved3 = 114,
  sClipReserved4 = 115,
  // Password dialog
  sPasswordTitlePrefix = 116,
  sPasswordPrompt = 117,
  sPasswordPlaceholder = 118,
  sPasswordCheckBox = 119,
  sPasswordOk = 120,
  sPasswordCancel = 121,
  sPasswordReserved1 = 122,
  sPasswordReserved2 = 123,
  sPasswordReserved3 = 124,
  sPasswordReserved4 = 125,
  sPasswordReserved5 = 126,
  sPasswordReserved6 = 127,
  sPasswordReserved7 = 128,
  sPasswordReserved8 = 129,
  sPasswordReserved9 = 130,
  sPasswordReserved10 = 131,
  sPasswordReserved11 = 132,
  sPasswordReserved12 = 133,
  // Messages
  sErrTooManyCards = 134,
  sMsgNoMoreResults = 135,
  sErrCardNameRequired = 136,
  sMsgTypeTextHere = 137,
  sErrPropsNotEditable = 138,
  sMsgDeleteCardTitle = 139,
  sMsgDeleteCardQuestion = 140,
  sErrMainCardUndeletable = 141,
  sMsgNotFound = 142,
  sErrNameExists = 143,
  sMsgDeleteMenuTitle = 144,
  sMsgDeleteMenuQuestion = 145,
  sMsgPrintTitle = 146,
  sMsgPrintQuestion = 147,
  sMsgSaveLinkedTitle = 148,
  sMsgSaveLinkedQuestion = 149,
  sErrCategoryInUse = 150,
  sMsgDeleteCategoryTitle = 151,
  sMsgDeleteCategoryQuestion = 152,
  sErrLinkedFileMissing = 153,
  sErrFileNotAccessible = 154,
  sErrEmptyFile = 155,
  sErrEmptyShortcut = 156,
  sErrLastExit = 157,
  sMsgRestoredPrefix = 158,
  sMsgRestoredSuffix = 159,
  sErrFileTooBig = 160,
  sMsgReplaceFileQuestion = 161,
  sMsgReplaceFileTitle = 162,
  sErrWrongPassword = 163,
  sMsgExportCancelled = 164,
  sErrEmptyPassword = 165,
  sMsgSynchroLinkEmpty = 166,
  sErrSynchroLinkUnavailable = 167,
  sMsgReserved1 = 168,
  sMsgReserved2 = 169,
  // Our own, after the inherited table.
  sErrProtectedCardTransfer = 170,
  sErrDamagedCard = 171,
  sMsgRestoreDraftTitle = 172,
  sMsgRestoreDraftPrefix = 173,
  sMsgRestoreDraftSuffix = 174,
  sErrDraftUnreadable = 175,
  sMsgIndexRepaired = 176,
  sMsgOldIndexKeptAs = 177,
  sRecoveredCardName = 178,
  sErrCannotStartNoFolder = 179,
  sErrCannotStartData = 180,
  sFaultMissing = 181,
  sFaultUnreadable = 182,
  sFaultIsFolder = 183,
  sFaultUnwritable = 184,
  sFaultNotKeptAside = 185,
  sFaultFolderUncreatable = 186,
  sFaultNotAFolder = 187,
  sFaultFolderUnwritable = 188,
  sFaultNoPassword = 189,
  sFaultNoSealing = 190,
  sDamageEmpty = 191,
  sDamageCutShort = 192,
  sDamageNotACard = 193,
  sDamageNewerVersion = 194,
  sDamageAltered = 195,
  sErrOutOfMemory = 196,
  sErrUnexpected = 197,
  // Where the session, not Windows, starts the program.
  sOptionsLaunchAtSessionStart = 198,
  // Names and messages of the window beyond the inherited ones; %1, %2 are filled in.
  sKeysUnavailableOnThisDesktop = 199,
  sKeysTakenElsewhere = 200,
  sKeysStandIn = 201,
  sMainShowList = 202,
  sMainHideList = 203,
  sMainCards = 204,
  sOptionsGlobalKeysLabel = 205,
  sAboutDataFolderPrefix = 206,
  sErrNoPrinter = 207,
  sFormatBold = 208,
  sFormatItalic = 209,
  sFormatUnderline = 210,
  sFormatWordWrap = 211,
  sFormatFontSize = 212,
  sFormatFont = 213,
  sFormatTextColour = 214,
  sFormatBackgroundColour = 215,
  // The command line: its help, and what it says on standard error.
  sCliDescription = 216,
  sCliShow = 217,
  sCliToggle = 218,
  sCliCopy = 219,
  sCliFeed = 220,
  sCliNextLine = 221,
  sCliNewFromClipboard = 222,
  sCliList = 223,
  sCliJson = 224,
  sCliPrint = 225,
  sCliAppend = 226,
  sCliCardValue = 227,
  sCliCardHelp = 228,
  sCliUnknownOption = 229,
  sCliBadArguments = 230,
  sCliOneCommand = 231,
  sCliSlotNumber = 232,
  sCliTextTooLong = 233,
  sCliTextNotUtf8 = 234,
  sCliNoSuchCard = 235,
  sCliSharedName = 236,
  sCliProtectedCard = 237,
  sCliNothingToFeed = 238,
  sCliRequestRefused = 239,
  sCliNotAnswering = 240,
  sCliNotStarted = 241,
  sCliHelp = 242,
  sCliVersion = 243,
  // The options.
  sOptionsLanguageAtNextStart = 244,
  // The tray's notification at the first start that hides there; %1 is the key that shows the
  // window.
  sTrayFirstStart = 245,
  sTrayFirstStartNoKey = 246,
  // Find in all cards: its dialog, its menu item and its command-line option.
  sFindTitle = 247,
  sFindMenu = 248,
  sFindIgnoreAccents = 249,
  sFindShownCategoriesOnly = 250,
  sFindColumnCard = 251,
  sFindColumnLine = 252,
  sFindColumnText = 253,
  sFindSearching = 254,
  sFindNoHit = 255,
  sFindHits = 256,
  sFindListedOnly = 257,
  sFindSkippedProtected = 258,
  sFindUnreadable = 259,
  sFindHitsList = 260,
  sFindField = 261,
  sCliFind = 262,
  sCliTextValue = 263,
  sCliFindOneLine = 264,
  sCliNothingFound = 265,
  sCliFindMore = 266,
};

// The table is cut into consecutive sections, one per window or dialog plus the messages.
enum class Section {
  MainWindow,
  About,
  CardProperties,
  Categories,
  Options,
  Snippet,
  Password,
  Messages,
};

// The two interface languages.
enum class Language { French, English };

class StringTable {
 public:
  // "Français" gives French and "Anglais" English, compared exactly. Anything else falls back to
  // French, the language of a fresh install, so the table always holds all its entries.
  static StringTable forLanguage(std::string_view language);
  static StringTable forLanguage(Language language);

  const std::string& operator[](Str id) const { return texts_[static_cast<std::size_t>(id)]; }

  // Throws std::out_of_range outside 0..kStringCount-1.
  const std::string& at(int index) const;

  int sectionBase(Section section) const { return bases_[static_cast<std::size_t>(section)]; }

  // Entry at an offset within a section; throws std::out_of_range past the section's end.
  const std::string& at(Section section, int offset) const;

  int size() const { return static_cast<int>(texts_.size()); }
  bool english() const { return english_; }

 private:
  explicit StringTable(bool english);

  std::vector<std::string> texts_;
  std::array<int, 8> bases_{};
  bool english_ = false;
};

}  // namespace qw::i18n
