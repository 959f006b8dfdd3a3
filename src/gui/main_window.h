#pragma once

#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QSystemTrayIcon>
#include <functional>
#include <future>
#include <memory>
#include <optional>

#include "core/i18n/strings.h"
#include "core/notebook/notebook.h"
#include "core/store/store.h"
#include "gui/commands.h"
#include "gui/message_prompts.h"
#include "gui/qt_clipboard.h"
#include "gui/remote_commands.h"
#include "platform/global_hot_keys.h"

namespace qw::ports {
class PlatformServices;
}

class QSplitter;

namespace qw::gui {

class CardListView;
class CardMenu;
class CardPropertiesDialog;
class CategoriesDialog;
class OptionsDialog;
class EditorPanel;
class FindInCardsDialog;
class InfoPopup;
class AboutDialog;
class DraftKeeper;
class SearchController;
class StripPanel;
class TransferCommands;

// The program's only long-lived window: the card strip on the left, the card on the right.
// Nothing is read from disk until its first show, but for the data folder given as `loading`:
// the program has it read while the window is built.
class MainWindow : public QMainWindow, private CommandWindow {
  Q_OBJECT
 public:
  MainWindow(store::StoreLocation where, ports::PlatformServices& platform,
             QWidget* parent = nullptr, std::future<store::Store> loading = {});
  ~MainWindow() override;

  // Takes the data folder from the load given at construction, or reads it, unless done; throws
  // what the load throws (store::StoreError). The first show does it when nobody did before.
  void loadData();
  // True once the first show has loaded the data folder.
  bool loaded() const { return notebook_.has_value(); }
  const store::Store& store() const { return *store_; }
  const i18n::StringTable& strings() const { return *strings_; }
  notebook::Notebook& notebook() { return *notebook_; }
  // On the screen as the user's window, not put away in the tray or the task bar.
  bool windowShown() const { return phase_ == Phase::OnScreen; }
  TransferCommands& transfers() { return *transfers_; }
  InfoPopup& popup() { return *popup_; }

 public slots:
  // Quit: saves the card and ends the program; the index and settings are written. A card
  // that cannot be written is reported and keeps the program running with its edits.
  void quit();
  // A session end (or SIGTERM): the close that follows ends the program instead of hiding it,
  // even when the card cannot be written.
  void endSession();
  // The program ends without a close (the desktop session ends under Windows, where Qt quits
  // without closing the window): the card, the index and the settings are written, once.
  void saveBeforeExit();
  void switchToPosition(int position);
  // Brings the window back from the tray or the task bar, in front of the others.
  void showWindow() override;

 public:
  // Started for the command line: the first show puts the window in the tray at once, as the
  // option to start hidden does.
  void startInTray() { startInTray_ = true; }
  // A request of the command line, once the notebook is open; refused before.
  remote::Answer answerRemote(const remote::ReadRequest& request);

 signals:
  // The first show could not load the data folder; the message says why, in both languages.
  void loadFailed(const QString& message);

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // Where the window is in its life: one value, so no two flags can disagree.
  enum class Phase {
    Built,          // the data folder not loaded yet: no card, nothing to save
    OnScreen,       // the user's: shown, or minimised by the user
    PutAway,        // in the tray, or minimised to the task bar where there is none
    Quitting,       // a quit was asked: the close under way ends the program
    SessionEnding,  // the next close ends the program, even when the card cannot be written
    Ended,          // written for the last time, or never loaded: nothing more is saved
  };

  // The panels and the wiring of the buttons and menus that need no data.
  void buildLayout();
  StripPanel* buildStripPanel();
  QWidget* buildCardSide();
  void buildListButtons();
  void connectPanels(QWidget* client);
  // What the start leaves until the window is drawn, or steps aside before it is: the window's
  // icon, the tray icon and the system-wide keys.
  void finishStart();
  // Finishes the start if need be, then shows the tray icon.
  void showTray();
  // (Re)registers the system-wide keys with the modifiers of the settings; tells the user once
  // which of them another program or the desktop keeps.
  void registerGlobalKeys();
  void showKeysMessage(const QString& text);
  // The tray's notification of a first start that hid there: where the program went.
  void sayWhereTheProgramIs();
  void globalKeyPressed(int id);
  void trayActivated(QSystemTrayIcon::ActivationReason reason);
  // Hides to the tray when the desktop has one, else minimises to the task bar.
  void hideToTray();
  void firstShow();
  void applyStrings();
  void showStrip();
  void showCurrentCard();
  void applyStripLook();
  AboutDialog* aboutDialog();
  CategoriesDialog* categoriesDialog();
  OptionsDialog* optionsDialog();
  CardPropertiesDialog* propertiesDialog();
  void editCategories();
  void newCard();
  void editCardProperties();
  void openListedCard(int card);
  // Ctrl+Shift+F, from the window or the tray.
  void findInCards();
  // A hit chosen in that dialog: its card opened, the hit selected, and the card search's
  // field holding the query so that F3 goes on from there.
  void openFoundLine(const find::FoundLine& hit, const QString& query);
  // The card list, made the first time it is shown: most starts never show it.
  CardListView* listView();
  // The list's name and rows follow the strings and the strip of the moment.
  void refreshListView();
  void updateCategoryFilter();
  void showList(bool shown);
  void editOptions();
  // Saves the open card; false (after telling the user) when it could not be written.
  bool saveCard();
  void saveOnExit();

  // --- CommandWindow ---
  void showOutcome(bool stripChanged) override;
  void reportError(const std::exception& error) override;
  void showNotice(const notebook::Notice& notice) override;
  void bringBack() override;
  void toggleWindow() override;
  // The keyboard to the card's text, as the window comes back or a click or a command opens a
  // card; the editor is still left out of the Tab walk.
  void focusCard() override;

  store::StoreLocation where_;
  ports::PlatformServices& platform_;
  MessagePrompts prompts_;
  QtClipboard clipboard_;
  std::future<store::Store> loading_;  // the data folder, read elsewhere
  std::optional<store::Store> store_;
  std::optional<i18n::StringTable> strings_;
  std::optional<notebook::Notebook> notebook_;
  // What the menus and the keys do, once the notebook is open.
  std::unique_ptr<Commands> commands_;
  // Find in all cards' thread and cache, shared by its dialog and the command line. Before
  // remote_, which uses it; as a member it is gone, its thread ended, before the dialog.
  std::unique_ptr<find::CardFinder> finder_;
  std::unique_ptr<RemoteCommands> remote_;
  // After the notebook, so it goes first: its timer asks the notebook for drafts.
  std::unique_ptr<DraftKeeper> drafts_;

  StripPanel* stripPanel_ = nullptr;
  EditorPanel* editorPanel_ = nullptr;
  QWidget* listPanel_ = nullptr;       // PListPrecise
  CardListView* listView_ = nullptr;   // ListView1, once made
  QWidget* showListButton_ = nullptr;  // IListPrecise
  QWidget* hideListButton_ = nullptr;  // IListPrecise1
  CardMenu* menu_ = nullptr;
  // TFInfo: a window of its own, so it shows while the main window is hidden.
  std::unique_ptr<InfoPopup> popup_;
  TransferCommands* transfers_ = nullptr;
  SearchController* search_ = nullptr;
  QSystemTrayIcon* tray_ = nullptr;  // once the window is first drawn
  std::unique_ptr<platform::GlobalHotKeys> globalKeys_;
  QPointer<QMessageBox> keysMessage_;  // the keys another program keeps, while on screen
  QString showWindowKey_;              // the key registered to show the window, or empty
  // Made on first use, once the store is loaded, and kept: they rebuild themselves on each
  // show. Building them at start would only delay the first card.
  AboutDialog* aboutDialog_ = nullptr;
  CategoriesDialog* categoriesDialog_ = nullptr;
  CardPropertiesDialog* propertiesDialog_ = nullptr;
  OptionsDialog* optionsDialog_ = nullptr;
  FindInCardsDialog* findDialog_ = nullptr;

  Phase phase_ = Phase::Built;
  bool startInTray_ = false;
};

}  // namespace qw::gui
