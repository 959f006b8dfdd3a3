#include "gui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLibraryInfo>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>
#include <QTranslator>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "core/notebook/card_list.h"
#include "core/notebook/error_text.h"
#include "core/notebook/find_cards.h"
#include "core/notebook/settings_commands.h"
#include "core/store/store_error.h"
#include "gui/about_dialog.h"
#include "gui/app_icon.h"
#include "gui/card_editor.h"
#include "gui/card_list_view.h"
#include "gui/card_menu.h"
#include "gui/card_properties_dialog.h"
#include "gui/card_strip_view.h"
#include "gui/categories_dialog.h"
#include "gui/draft_keeper.h"
#include "gui/editor_panel.h"
#include "gui/find_in_cards_dialog.h"
#include "gui/font_size_box.h"
#include "gui/font_warmer.h"
#include "gui/format_bar.h"
#include "gui/global_keys.h"
#include "gui/info_popup.h"
#include "gui/options_dialog.h"
#include "gui/performance_trace.h"
#include "gui/qt_text.h"
#include "gui/screen_fit.h"
#include "gui/search_controller.h"
#include "gui/setting_colour.h"
#include "gui/strip_panel.h"
#include "gui/transfer_commands.h"
#include "platform/desktop_session.h"

namespace qw::gui {
using i18n::Str;

namespace {

// The strip panel's own colour, whatever the settings say.
const QColor kPanelColour(0x67, 0x74, 0xA6);

// The first start's word from the tray: long enough to be read.
constexpr int kTrayMessageDelay = 1000;
constexpr int kTrayMessageShownFor = 15000;

// The window's navy background, painted by hand: a style sheet would put every widget inside
// under Qt's slower style-sheet style, and the 500 labels of the strip with them.
class NavyClient : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter(this).fillRect(rect(), QColorConstants::Svg::navy);
  }
};

// The blue bar between the card list and the editor, painted by hand for the same reason.
class BlueSplitter : public QSplitter {
 public:
  using QSplitter::QSplitter;

 protected:
  QSplitterHandle* createHandle() override {
    class Handle : public QSplitterHandle {
     public:
      using QSplitterHandle::QSplitterHandle;

     protected:
      void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), Qt::blue); }
    };
    return new Handle(orientation(), this);
  }
};

// The two faces of the list button, drawn here: the style's stock icons are looked up in the
// desktop's icon themes on disk, which cost more at start than the whole strip of cards.
QIcon listButtonIcon(bool showsList) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(60, 60, 60), 1));
  if (showsList) {  // a small table
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(1.5, 2.5, 13, 11));
    for (double y : {6.5, 9.5}) painter.drawLine(QPointF(1.5, y), QPointF(14.5, y));
    painter.drawLine(QPointF(5.5, 2.5), QPointF(5.5, 13.5));
  } else {  // fold it away upwards
    // Dark with a light rim, so it shows on a light bar and on a dark desktop's bar alike.
    painter.setPen(QPen(QColor(230, 230, 230), 1));
    painter.setBrush(QColor(60, 60, 60));
    painter.drawPolygon(QPolygonF({QPointF(3, 11), QPointF(8, 5), QPointF(13, 11)}));
  }
  return QIcon(pixmap);
}

}  // namespace

MainWindow::MainWindow(store::StoreLocation where, ports::PlatformServices& platform,
                       QWidget* parent, std::future<store::Store> loading)
    : QMainWindow(parent),
      where_(std::move(where)),
      platform_(platform),
      prompts_(this),
      loading_(std::move(loading)) {
  setObjectName("TFGQuillWick");
  // The title until the string table is known.
  setWindowTitle("KTRquillWick");
  resize(984, 683);
  // This window and every dialog: a smaller screen shrinks them to its free area.
  keepWindowsOnScreen();
  buildLayout();
  editorPanel_->runAfterFirstPaint([this] { showTray(); });
}

MainWindow::~MainWindow() { delete keysMessage_; }

void MainWindow::buildLayout() {
  auto* client = new NavyClient;
  client->setObjectName("TFGQuillWickClient");
  setCentralWidget(client);
  auto* layout = new QHBoxLayout(client);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(buildStripPanel());
  layout->addWidget(buildCardSide(), 1);
  buildListButtons();

  popup_ = std::make_unique<InfoPopup>();
  transfers_ = new TransferCommands(*editorPanel_, prompts_, *popup_, this);
  transfers_->setErrorReport([this](const std::exception& e) { reportError(e); });
  connect(transfers_, &TransferCommands::cardReloaded, this, &MainWindow::showCurrentCard);
  menu_ = new CardMenu(this);
  search_ = new SearchController(*stripPanel_, *editorPanel_, this);
  connectPanels(client);
}

StripPanel* MainWindow::buildStripPanel() {
  stripPanel_ = new StripPanel;
  QPalette panel = stripPanel_->palette();
  panel.setColor(QPalette::Window, kPanelColour);
  panel.setColor(QPalette::WindowText, Qt::white);
  stripPanel_->setPalette(panel);
  stripPanel_->setAutoFillBackground(true);
  return stripPanel_;
}

// The card list above the editor, split by a blue bar; the list waits hidden.
QWidget* MainWindow::buildCardSide() {
  auto* right = new QWidget;
  right->setObjectName("Panel1");
  right->setAutoFillBackground(true);
  auto* rightLayout = new QVBoxLayout(right);
  rightLayout->setContentsMargins(0, 0, 0, 0);
  auto* splitter = new BlueSplitter(Qt::Vertical);
  splitter->setObjectName("Splitter2");
  splitter->setHandleWidth(4);
  rightLayout->addWidget(splitter);

  listPanel_ = new QWidget;
  listPanel_->setObjectName("PListPrecise");
  auto* listLayout = new QVBoxLayout(listPanel_);
  listLayout->setContentsMargins(0, 0, 0, 0);
  splitter->addWidget(listPanel_);
  listPanel_->hide();

  editorPanel_ = new EditorPanel;
  splitter->addWidget(editorPanel_);
  splitter->setSizes({170, 500});
  splitter->setStretchFactor(1, 1);
  return right;
}

// The two buttons at the front of the formatting bar that show and hide the card list.
void MainWindow::buildListButtons() {
  auto* showButton = new QToolButton;
  showButton->setObjectName("IListPrecise");
  showButton->setIcon(listButtonIcon(true));
  showButton->setAutoRaise(true);
  auto* hideButton = new QToolButton;
  hideButton->setObjectName("IListPrecise1");
  hideButton->setIcon(listButtonIcon(false));
  hideButton->setAutoRaise(true);
  editorPanel_->formatBar()->addLeadingWidget(showButton);
  editorPanel_->formatBar()->addLeadingWidget(hideButton);
  showListButton_ = showButton;
  hideListButton_ = hideButton;
  connect(showButton, &QToolButton::clicked, this, [this] { showList(true); });
  connect(hideButton, &QToolButton::clicked, this, [this] { showList(false); });
  hideButton->hide();
}

// The window's own items: the card commands are wired once the notebook is open.
void MainWindow::connectPanels(QWidget* client) {
  connect(menu_->nextSearch, &QAction::triggered, search_, &SearchController::nextSearch);
  connect(menu_->search, &QAction::triggered, search_, &SearchController::focusSearch);
  for (QWidget* w : {static_cast<QWidget*>(stripPanel_), client}) {
    w->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(w, &QWidget::customContextMenuRequested, this,
            [this, w](const QPoint& at) { menu_->popup(w->mapToGlobal(at)); });
  }
  connect(stripPanel_->strip, &CardStripView::clicked, this, [this](int position) {
    switchToPosition(position);
    focusCard();
  });
  connect(stripPanel_->strip, &CardStripView::stepped, this, &MainWindow::switchToPosition);
  connect(stripPanel_->exit, &QPushButton::clicked, this, &QWidget::close);
  connect(menu_->quit, &QAction::triggered, this, &MainWindow::quit);
  connect(menu_->minimize, &QAction::triggered, this, [this] {
    // Asked for from the tray, the window's own close still only hides it, the card saved.
    if (phase_ == Phase::PutAway) phase_ = Phase::OnScreen;
    close();
  });
  connect(menu_->restore, &QAction::triggered, this, &MainWindow::bringBack);
  connect(menu_->about, &QAction::triggered, this, [this] {
    if (notebook_) aboutDialog()->exec();
  });
  connect(menu_->options, &QAction::triggered, this, &MainWindow::editOptions);
  connect(menu_->findInCards, &QAction::triggered, this, &MainWindow::findInCards);
  connect(menu_->newCard, &QAction::triggered, this, &MainWindow::newCard);
  connect(menu_->cardProperties, &QAction::triggered, this, &MainWindow::editCardProperties);
  connect(menu_->selectAll, &QAction::triggered, editorPanel_, &EditorPanel::selectAllText);
  connect(stripPanel_->editCategories, &QPushButton::clicked, this, &MainWindow::editCategories);
  connect(stripPanel_->updateCategories, &QPushButton::clicked, this,
          &MainWindow::updateCategoryFilter);
  connect(stripPanel_->lineFunctions, &QComboBox::activated, this, [this](int item) {
    if (commands_) commands_->runLineFunction(item);
  });
}

void MainWindow::finishStart() {
  if (tray_) return;
  // The icons are drawn here, after the window: the window manager takes a new one at once.
  setWindowIcon(applicationIcon());
  tray_ = new QSystemTrayIcon(applicationIcon(), this);
  tray_->setObjectName("TrayIcon");
  tray_->setToolTip("quillWick");
  connect(tray_, &QSystemTrayIcon::activated, this, &MainWindow::trayActivated);
  // Before the tray icon shows: whoever sees it can press them.
  if (notebook_) registerGlobalKeys();
}

void MainWindow::showTray() {
  finishStart();
  if (!tray_->isVisible()) tray_->show();
}

void MainWindow::trayActivated(QSystemTrayIcon::ActivationReason reason) {
  if (reason == QSystemTrayIcon::Trigger) {
    showWindow();
  } else if (reason == QSystemTrayIcon::Context) {
    // Out of the tray's own event handling, so the menu's loop does not run inside it.
    QTimer::singleShot(0, this, [this] {
      // The menu closes when the user clicks elsewhere only if the program is in front.
      activateWindow();
      menu_->popUpInTrayForm(QCursor::pos());
    });
  }
}

void MainWindow::registerGlobalKeys() {
  if (!globalKeys_) {
    globalKeys_ = platform::GlobalHotKeys::create();
    connect(globalKeys_.get(), &platform::GlobalHotKeys::activated, this,
            &MainWindow::globalKeyPressed);
    connect(globalKeys_.get(), &platform::GlobalHotKeys::keysUnavailable, this, [this] {
      showWindowKey_.clear();
      showKeysMessage(qs((*strings_)[Str::sKeysUnavailableOnThisDesktop]));
    });
    // The desktop's own settings may give the keys other combinations, or none.
    connect(globalKeys_.get(), &platform::GlobalHotKeys::triggersChanged, this,
            [this] { showWindowKey_ = globalKeys_->trigger(globalKeyTable(false).front().id); });
  }
  const i18n::StringTable& s = *strings_;
  QString problem;
  showWindowKey_.clear();
  if (!globalKeys_->available()) {
    // Only a Wayland session without the portal lacks them for want of the desktop's help;
    // offscreen and other headless platforms have nobody to tell.
    if (platform::isWaylandSession()) problem = qs(s[Str::sKeysUnavailableOnThisDesktop]);
  } else {
    const bool alternative = store_->settings.globalKeys() == store::GlobalKeys::CtrlAlt;
    std::vector<platform::HotKey> keys = globalKeyTable(alternative);
    describeGlobalKeys(keys, s);
    std::vector<platform::HotKey> kept = globalKeys_->registerKeys(keys);
    // Put away where there is no tray, the window would have no way back without its key: the
    // other set's stands in for it.
    QString standIn;
    if (!kept.empty() && kept.front() == keys.front()) {
      std::vector<platform::HotKey> other = globalKeyTable(!alternative);
      describeGlobalKeys(other, s);
      keys.push_back(other.front());
      kept = globalKeys_->registerKeys(keys);
      if (!kept.empty() && kept.back() == keys.back())
        kept.pop_back();
      else
        standIn = showWindowKeyName(!alternative);
    }
    const bool ownShowKey = kept.empty() || kept.front() != keys.front();
    showWindowKey_ = globalKeys_->desktopChoosesKeys() ? globalKeys_->trigger(keys.front().id)
                     : ownShowKey                      ? showWindowKeyName(alternative)
                                                       : standIn;
    QStringList taken;
    for (const platform::HotKey& key : kept) taken << globalKeyName(key);
    if (!taken.isEmpty())
      problem =
          qs(s[Str::sKeysTakenElsewhere]).arg(taken.join(", "), globalKeySetName(!alternative));
    if (!standIn.isEmpty()) problem += qs(s[Str::sKeysStandIn]).arg(standIn);
  }
  if (!problem.isEmpty()) showKeysMessage(problem);
}

void MainWindow::showKeysMessage(const QString& text) {
  // Not modal: the program may be starting hidden, and nothing has to wait for the answer.
  // No owner either: a window manager hides an owned box together with its hidden owner.
  delete keysMessage_;
  keysMessage_ = new QMessageBox(QMessageBox::Information, windowTitle(), text, QMessageBox::Ok);
  keysMessage_->setObjectName("GlobalKeysMessage");
  keysMessage_->setAttribute(Qt::WA_DeleteOnClose);
  keysMessage_->setModal(false);
  keysMessage_->show();
}

void MainWindow::sayWhereTheProgramIs() {
  const i18n::StringTable& s = *strings_;
  const QString text = showWindowKey_.isEmpty() ? qs(s[Str::sTrayFirstStartNoKey])
                                                : qs(s[Str::sTrayFirstStart]).arg(showWindowKey_);
  // A moment later: a tray icon that has only just been embedded has no place on the screen
  // yet for the message to point at.
  QTimer::singleShot(kTrayMessageDelay, this, [this, text] {
    if (phase_ == Phase::PutAway)
      tray_->showMessage("quillWick", text, applicationIcon(), kTrayMessageShownFor);
  });
}

void MainWindow::globalKeyPressed(int id) {
  const std::optional<GlobalKey> key = globalKeyOf(id);
  if (!key || !commands_) return;
  switch (key->action) {
    case GlobalKey::ShowWindow: commands_->showWindow(); break;
    case GlobalKey::CopySlot: commands_->copyHotKeyText(key->slot); break;
    case GlobalKey::StartLineFeed: commands_->startLineFeed(key->slot); break;
    case GlobalKey::NextFeedLine: commands_->nextFeedLine(); break;
    case GlobalKey::NewCardFromClipboard: commands_->newCardFromClipboard(true); break;
  }
}

void MainWindow::showNotice(const notebook::Notice& notice) {
  popup_->popUp(qs(notice.text),
                notice.failed ? InfoPopup::errorColour() : InfoPopup::successColour());
}

void MainWindow::showWindow() {
  trace::mark("show");
  if (isMinimized() || !isVisible()) showNormal();
  phase_ = Phase::OnScreen;
  raise();
  activateWindow();
  focusCard();
}

void MainWindow::bringBack() {
  if (phase_ == Phase::PutAway) showWindow();
}

void MainWindow::toggleWindow() {
  if (phase_ == Phase::OnScreen && !isMinimized())
    hideToTray();
  else
    showWindow();
}

remote::Answer MainWindow::answerRemote(const remote::ReadRequest& request) {
  if (!remote_) return {remote::ExitCode::Refused, {}, alreadyStartedMessage().toStdString()};
  return remote_->answer(request);
}

void MainWindow::focusCard() { editorPanel_->focusText(); }

void MainWindow::hideToTray() {
  phase_ = Phase::PutAway;
  showTray();  // a start hidden may come before the first paint
  if (QSystemTrayIcon::isSystemTrayAvailable() && tray_->isVisible())
    hide();
  else
    showMinimized();
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (phase_ == Phase::Built) firstShow();
}

void MainWindow::loadData() {
  if (store_) return;
  trace::mark("load");
  store_ = loading_.valid() ? loading_.get() : store::loadStore(where_, platform_);
  trace::mark("store-loaded");
}

void MainWindow::firstShow() {
  try {
    loadData();
  } catch (const std::exception& e) {
    phase_ = Phase::Ended;
    emit loadFailed(qs(notebook::startFailureText(e)));
    return;
  }
  strings_ = i18n::StringTable::forLanguage(store_->language);
  // Qt's own buttons (Yes, No, Cancel) in the interface language too.
  if (!strings_->english()) {
    auto* translator = new QTranslator(this);
    if (translator->load("qtbase_fr", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
      QCoreApplication::installTranslator(translator);
  }
  applyStrings();

  const store::Settings& settings = store_->settings;
  applyStripLook();
  stripPanel_->setCategories(*store_, *strings_);

  notebook_.emplace(*store_, *strings_, *editorPanel_, prompts_);
  commands_ =
      std::make_unique<Commands>(*notebook_, clipboard_, static_cast<CommandWindow&>(*this));
  commands_->connectMenu(*menu_);
  finder_ = std::make_unique<find::CardFinder>();
  remote_ = std::make_unique<RemoteCommands>(*commands_, *notebook_, *strings_, *finder_);
  connect(editorPanel_, &EditorPanel::cardDrawn, this,
          [this] { notebook_->makeSnapshotsAndJournal(); });
  // Once the first card is on the screen, the fonts the others name are loaded ahead.
  connect(
      editorPanel_, &EditorPanel::cardDrawn, this,
      [this] { warmFonts(this, notebook_->fontFamiliesOfCards(), editorPanel_->textFont()); },
      Qt::SingleShotConnection);
  transfers_->setNotebook(&*notebook_, &*strings_);
  try {
    notebook_->open();
  } catch (const std::exception& e) {
    reportError(e);
  }
  drafts_ = std::make_unique<DraftKeeper>([this] { return notebook_->takeDraft(); });
  connect(editorPanel_, &EditorPanel::textChanged, drafts_.get(), &DraftKeeper::textChanged);
  showStrip();
  showCurrentCard();
  // Shown, not applied: applying would resize the card's stored selection at every start.
  editorPanel_->formatBar()->sizeBox()->showSize(editorPanel_->textFont().pointSize());
  showList(settings.showList());
  phase_ = Phase::OnScreen;
  focusCard();

  // Started hidden: only the tray icon shows, once the window manager has shown the window.
  if ((settings.hiddenStart() || startInTray_) && QSystemTrayIcon::isSystemTrayAvailable())
    QTimer::singleShot(0, this, [this] {
      if (phase_ != Phase::OnScreen) return;
      hideToTray();
      if (store_->firstStart && !isVisible()) sayWhereTheProgramIs();
    });
  trace::mark("ready");
}

AboutDialog* MainWindow::aboutDialog() {
  if (!aboutDialog_) {
    aboutDialog_ = new AboutDialog(this);
    aboutDialog_->setStrings(*strings_);
    aboutDialog_->setPerUserDataFolder(store_->dataFolderIsPerUser ? store_->dataFolder
                                                                   : std::filesystem::path());
    aboutDialog_->setPageOpener([browser = store_->browserPath](const QString& address) {
      // The browser found at start (Windows); without one, the desktop's own handler.
      if (browser.empty() || !QProcess::startDetached(qs(browser), {address}))
        QDesktopServices::openUrl(QUrl(address));
    });
  }
  return aboutDialog_;
}

CategoriesDialog* MainWindow::categoriesDialog() {
  if (!categoriesDialog_)
    categoriesDialog_ = new CategoriesDialog(*store_, *strings_, &prompts_, this);
  return categoriesDialog_;
}

OptionsDialog* MainWindow::optionsDialog() {
  if (!optionsDialog_)
    optionsDialog_ = new OptionsDialog(*store_, *strings_, platform_, &prompts_, this);
  return optionsDialog_;
}

CardPropertiesDialog* MainWindow::propertiesDialog() {
  if (!propertiesDialog_) propertiesDialog_ = new CardPropertiesDialog(this);
  return propertiesDialog_;
}

void MainWindow::applyStripLook() {
  const store::Settings& settings = store_->settings;
  stripPanel_->strip->setLook({settingColour(settings.stripBackground(), kPanelColour),
                               settingColour(settings.cardNameColour(), Qt::yellow),
                               settingColour(settings.activeCardColour(), Qt::white)});
}

void MainWindow::editCategories() {
  if (!notebook_) return;
  categoriesDialog()->exec();
  // A new category is shown by the filter: the tick list follows the settings.
  stripPanel_->setCategories(*store_, *strings_);
}

void MainWindow::newCard() {
  if (!notebook_) return;
  if (!notebook_->canCreateCard()) {
    prompts_.message((*strings_)[Str::sErrTooManyCards]);
    return;
  }
  const auto properties =
      propertiesDialog()->ask(CardPropertiesDialog::Mode::Add, {}, *store_, *strings_);
  if (!properties) return;
  commands_->run([&] { notebook_->createCard(*properties); });
  // Asked for from the tray menu, the new card comes on the screen.
  bringBack();
  focusCard();
}

void MainWindow::editCardProperties() {
  if (!notebook_) return;
  const int position = notebook_->selectedPosition();
  if (position == 0) {
    prompts_.message((*strings_)[Str::sErrPropsNotEditable]);
    return;
  }
  const int card = notebook_->strip()[position].card;
  const auto properties =
      propertiesDialog()->ask(CardPropertiesDialog::Mode::Modify, notebook_->propertiesOf(card),
                              *store_, *strings_, notebook_->currentCardProtected());
  if (!properties) return;
  commands_->run([&] { notebook_->editCurrentCard(*properties); });
  focusCard();
}

void MainWindow::openListedCard(int card) {
  if (!notebook_) return;
  for (const auto& row : listView()->rows()) {
    if (row.card != card) continue;
    const int position = notebook::stripPositionForRow(notebook_->strip(), row);
    if (position >= 0) switchToPosition(position);
    return;
  }
}

void MainWindow::findInCards() {
  if (!notebook_) return;
  if (phase_ != Phase::OnScreen) bringBack();
  if (!findDialog_) {
    findDialog_ = new FindInCardsDialog(
        *finder_, store_->dataFolder,
        [this](bool shownOnly) { return notebook::cardsToSearch(*notebook_, shownOnly); }, this);
    findDialog_->setStrings(*strings_);
    connect(findDialog_, &FindInCardsDialog::openHit, this, &MainWindow::openFoundLine);
  }
  findDialog_->open();
}

void MainWindow::openFoundLine(const find::FoundLine& hit, const QString& query) {
  if (!commands_) return;
  bool opened = false;
  commands_->run([&] { opened = notebook::openFoundCard(*notebook_, *store_, hit, platform_); });
  // The ticks show the filter in force, a category added for the hit included.
  stripPanel_->setCategories(*store_, *strings_);
  activateWindow();
  focusCard();
  if (!opened) return;
  notebook_->selectInOpenCard({hit.position, hit.length});
  search_->continueAfter(query, hit.position);
}

CardListView* MainWindow::listView() {
  if (!listView_) {
    listView_ = new CardListView;
    listPanel_->layout()->addWidget(listView_);
    connect(listView_, &CardListView::openCard, this, &MainWindow::openListedCard);
    refreshListView();
  }
  return listView_;
}

void MainWindow::refreshListView() {
  if (!listView_) return;
  if (strings_) listView_->setAccessibleName(qs((*strings_)[Str::sMainCards]));
  // Read from the cards' files only when the list shows.
  if (notebook_)
    listView_->setRowSource([this] { return notebook::cardListRows(*store_, *strings_); });
}

void MainWindow::updateCategoryFilter() {
  if (!commands_) return;
  std::vector<std::pair<std::string, bool>> ticks;
  for (int i = 0; i < stripPanel_->categoryList->count(); ++i) {
    const QListWidgetItem* item = stripPanel_->categoryList->item(i);
    ticks.emplace_back(utf8(item->data(Qt::UserRole).toString()),
                       item->checkState() == Qt::Checked);
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  bool applied = false;
  commands_->run([&] {
    notebook::changeCategoryFilter(*notebook_, *store_, notebook::categoryFilterFrom(ticks),
                                   platform_);
    applied = true;
  });
  QApplication::restoreOverrideCursor();
  // A filter that could not be saved is not in force: the ticks show the one that is.
  if (!applied) stripPanel_->setCategories(*store_, *strings_);
  focusCard();
}

void MainWindow::showList(bool shown) {
  if (shown) listView();
  listPanel_->setVisible(shown);
  showListButton_->setVisible(!shown);
  hideListButton_->setVisible(shown);
  // Written with the other settings at the next save.
  if (store_) store_->settings.setShowList(shown);
}

void MainWindow::editOptions() {
  if (!notebook_) return;
  const store::GlobalKeys keysBefore = store_->settings.globalKeys();
  const store::Language languageBefore = store_->settings.language();
  if (!optionsDialog()->run()) return;
  applyStripLook();
  // The strings are read once at start; said in the language chosen, which the user reads.
  if (const store::Language chosen = store_->settings.language(); chosen != languageBefore)
    prompts_.message(i18n::StringTable::forLanguage(chosen)[Str::sOptionsLanguageAtNextStart]);
  // New modifiers take effect at once.
  if (store_->settings.globalKeys() != keysBefore) registerGlobalKeys();
}

void MainWindow::applyStrings() {
  const i18n::StringTable& s = *strings_;
  setWindowTitle(qs(s[Str::sMainTitle]));
  prompts_.setTitle(windowTitle());
  prompts_.setStrings(&s);
  menu_->setStrings(s);
  stripPanel_->setStrings(s);
  editorPanel_->setStrings(s);
  search_->setStrings(s);
  // The list buttons are drawn arrows and the list has no caption of its own.
  const auto name = [&s](QWidget* w, Str text) {
    w->setAccessibleName(qs(s[text]));
    w->setToolTip(qs(s[text]));
  };
  name(showListButton_, Str::sMainShowList);
  name(hideListButton_, Str::sMainHideList);
  refreshListView();
}

void MainWindow::showStrip() {
  trace::mark("strip-begin");
  stripPanel_->strip->setEntries(notebook_->strip());
  refreshListView();
  stripPanel_->strip->select(notebook_->selectedPosition());
  menu_->setStripEntries(notebook_->strip());
  trace::mark("strip-end");
}

void MainWindow::showCurrentCard() {
  const notebook::CurrentCard& card = notebook_->current();
  editorPanel_->setCardName(qs(card.name));
  editorPanel_->setFileName(qs(card.contentFile));
  editorPanel_->setFormattingEnabled(card.number != notebook::kFailedCard);
  editorPanel_->refreshCaretLine();
  menu_->encrypt->setEnabled(notebook_->canProtect());
  menu_->decrypt->setEnabled(notebook_->canUnprotect());
  stripPanel_->strip->select(notebook_->selectedPosition());
}

void MainWindow::switchToPosition(int position) {
  if (commands_) commands_->switchToPosition(position);
}

void MainWindow::showOutcome(bool stripChanged) {
  if (stripChanged) showStrip();
  showCurrentCard();
}

bool MainWindow::saveCard() {
  if (!notebook_) return true;
  try {
    notebook_->saveCard();
    return true;
  } catch (const std::exception& e) {
    reportError(e);
    return false;
  }
}

void MainWindow::reportError(const std::exception& error) {
  QMessageBox::critical(
      this, windowTitle(),
      qs(strings_ ? notebook::errorText(error, *strings_) : notebook::startFailureText(error)));
}

void MainWindow::endSession() {
  if (phase_ != Phase::Built && phase_ != Phase::Ended) phase_ = Phase::SessionEnding;
}

void MainWindow::quit() {
  if (phase_ != Phase::OnScreen && phase_ != Phase::PutAway) {
    close();
    return;
  }
  const Phase before = phase_;
  phase_ = Phase::Quitting;
  close();
  // A card that could not be written keeps the program running, as it was.
  if (phase_ == Phase::Quitting) phase_ = before;
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // A card that could not be written keeps the program open, unless the session ends.
  if (!saveCard() && phase_ != Phase::SessionEnding) {
    event->ignore();
    return;
  }
  if (phase_ != Phase::OnScreen) {
    saveOnExit();
    event->accept();
    // The program lives in the tray, so closing its last window does not end it by itself.
    if (tray_) tray_->hide();
    QCoreApplication::quit();
    return;
  }
  event->ignore();
  hideToTray();
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  // Minimised by the user, the window is still the user's, not in the tray: only hiding to the
  // tray puts it away. Brought back from the task bar, it is on the screen again.
  if (event->type() == QEvent::WindowStateChange && phase_ == Phase::PutAway && isVisible() &&
      !isMinimized())
    phase_ = Phase::OnScreen;
}

void MainWindow::saveBeforeExit() {
  if (!notebook_ || phase_ == Phase::Ended) return;
  saveCard();
  saveOnExit();
}

void MainWindow::saveOnExit() {
  if (!notebook_) return;
  phase_ = Phase::Ended;
  notebook_->disableSaving();
  try {
    store::saveCardIndex(*store_);
    store::saveSettings(*store_, platform_);
  } catch (const std::exception& e) {
    reportError(e);
  }
}

}  // namespace qw::gui
