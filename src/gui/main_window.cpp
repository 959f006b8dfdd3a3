#include "gui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCollator>
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
#include "gui/font_size_box.h"
#include "gui/font_warmer.h"
#include "gui/format_bar.h"
#include "gui/global_keys.h"
#include "gui/info_popup.h"
#include "gui/options_dialog.h"
#include "gui/performance_trace.h"
#include "gui/qt_text.h"
#include "gui/search_controller.h"
#include "gui/setting_colour.h"
#include "gui/strip_panel.h"
#include "gui/transfer_commands.h"

namespace qw::gui {
using i18n::Str;

namespace {

// The strip panel's own colour, whatever the settings say.
const QColor kPanelColour(0x67, 0x74, 0xA6);

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
  buildLayout();
  editorPanel_->editor()->viewport()->installEventFilter(this);
  // Installed last, so called first: the first paint is marked before the work it queues.
  trace::watchPaints(editorPanel_->editor()->viewport());
}

MainWindow::~MainWindow() { delete keysMessage_; }

void MainWindow::buildLayout() {
  auto* central = new NavyClient;
  central->setObjectName("TFGQuillWickClient");
  setCentralWidget(central);
  auto* layout = new QHBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  stripPanel_ = new StripPanel;
  QPalette panel = stripPanel_->palette();
  panel.setColor(QPalette::Window, kPanelColour);
  panel.setColor(QPalette::WindowText, Qt::white);
  stripPanel_->setPalette(panel);
  stripPanel_->setAutoFillBackground(true);
  layout->addWidget(stripPanel_);

  auto* right = new QWidget;
  right->setObjectName("Panel1");
  right->setAutoFillBackground(true);
  auto* rightLayout = new QVBoxLayout(right);
  rightLayout->setContentsMargins(0, 0, 0, 0);
  auto* splitter = new BlueSplitter(Qt::Vertical);
  splitter->setObjectName("Splitter2");
  splitter->setHandleWidth(4);
  rightLayout->addWidget(splitter);
  layout->addWidget(right, 1);

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

  popup_ = std::make_unique<InfoPopup>();
  transfers_ = new TransferCommands(*editorPanel_, prompts_, *popup_, this);
  transfers_->setErrorReport([this](const std::exception& e) { reportError(e); });
  connect(transfers_, &TransferCommands::cardReloaded, this, &MainWindow::showCurrentCard);

  menu_ = new CardMenu(this);
  search_ = new SearchController(*stripPanel_, *editorPanel_, this);
  connect(menu_->nextSearch, &QAction::triggered, search_, &SearchController::nextSearch);
  connect(menu_->search, &QAction::triggered, search_, &SearchController::focusSearch);
  for (QWidget* w : {static_cast<QWidget*>(stripPanel_), static_cast<QWidget*>(central)}) {
    w->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(w, &QWidget::customContextMenuRequested, this,
            [this, w](const QPoint& at) { menu_->popup(w->mapToGlobal(at)); });
  }

  connect(stripPanel_->strip, &CardStripView::clicked, this, [this](int position) {
    switchToPosition(position);
    focusCard();
  });
  connect(stripPanel_->exit, &QPushButton::clicked, this, [this] {
    quitRequested_ = false;
    close();
  });
  connect(menu_->quit, &QAction::triggered, this, &MainWindow::quit);
  connect(menu_->minimize, &QAction::triggered, this, [this] {
    // The window's own close then hides it, the card saved on the way.
    windowShown_ = true;
    quitRequested_ = false;
    close();
  });
  connect(menu_->restore, &QAction::triggered, this, [this] {
    if (!windowShown_) showWindow();
  });
  connect(menu_->encrypt, &QAction::triggered, this,
          [this] { runCommand([this] { notebook_->protectCurrentCard(); }, false); });
  connect(menu_->decrypt, &QAction::triggered, this,
          [this] { runCommand([this] { notebook_->unprotectCurrentCard(); }, false); });
  connect(menu_->newCardFromClipboard, &QAction::triggered, this,
          [this] { newCardFromClipboard(false); });
  connect(menu_->pasteInCurrent, &QAction::triggered, this,
          [this] { runCommand([this] { notebook_->pasteIntoCurrentCard(clipboard_); }, false); });
  connect(menu_->pasteInto, &QMenu::triggered, this, [this](QAction* item) {
    const int position = notebook_ ? positionOfItem(item) : -1;
    if (position < 0) return;
    std::optional<notebook::Notice> refused;
    runCommand([&] { refused = notebook_->appendClipboardTo(position, clipboard_); }, false);
    if (refused) showNotice(*refused);
  });
  connect(menu_->copyFrom, &QMenu::triggered, this, [this](QAction* item) {
    const int position = notebook_ ? positionOfItem(item) : -1;
    if (position < 0) return;
    if (const auto notice = notebook_->copyCardToClipboard(position, clipboard_))
      showNotice(*notice);
  });
  connect(menu_->about, &QAction::triggered, this, [this] {
    if (notebook_) aboutDialog()->exec();
  });
  connect(menu_->options, &QAction::triggered, this, &MainWindow::editOptions);
  connect(menu_->newCard, &QAction::triggered, this, &MainWindow::newCard);
  connect(menu_->cardProperties, &QAction::triggered, this, &MainWindow::editCardProperties);
  connect(stripPanel_->editCategories, &QPushButton::clicked, this, &MainWindow::editCategories);
  connect(stripPanel_->updateCategories, &QPushButton::clicked, this,
          &MainWindow::updateCategoryFilter);
  connect(menu_->deleteCard, &QAction::triggered, this, [this] {
    runCommand([this] { notebook_->deleteCurrentCard(); });
    focusCard();
  });
  connect(menu_->previous, &QAction::triggered, this, [this] {
    runCommand([this] { notebook_->previousCard(); }, false);
    focusCard();
  });
  connect(menu_->next, &QAction::triggered, this, [this] {
    runCommand([this] { notebook_->nextCard(); }, false);
    focusCard();
  });
  connect(menu_->moveUp, &QAction::triggered, this,
          [this] { runCommand([this] { notebook_->moveCurrentCardUp(); }); });
  connect(menu_->moveDown, &QAction::triggered, this,
          [this] { runCommand([this] { notebook_->moveCurrentCardDown(); }); });
  connect(menu_->selectAll, &QAction::triggered, editorPanel_, &EditorPanel::selectAllText);
  connect(stripPanel_->lineFunctions, &QComboBox::activated, this, &MainWindow::runLineFunction);
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

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  // The tray icon is a window of its own, the icons are drawn at several sizes and the
  // system-wide keys are a hundred requests to the X server, a good part of the start: they
  // come once the window is drawn.
  if (event->type() == QEvent::Paint && watched == editorPanel_->editor()->viewport()) {
    watched->removeEventFilter(this);
    QTimer::singleShot(0, this, &MainWindow::showTray);
  }
  return QMainWindow::eventFilter(watched, event);
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
  }
  const i18n::StringTable& s = *strings_;
  QString problem;
  if (!globalKeys_->available()) {
    // Offscreen and other headless platforms have nobody to tell.
    if (QGuiApplication::platformName().startsWith("wayland"))
      problem = qs(s[Str::sKeysUnavailableOnThisDesktop]);
  } else {
    const bool alternative = store_->settings[store::kGlobalKeys] == "CtrlAlt";
    std::vector<platform::HotKey> keys = globalKeyTable(alternative);
    std::vector<platform::HotKey> kept = globalKeys_->registerKeys(keys);
    // Put away where there is no tray, the window would have no way back without its key: the
    // other set's stands in for it.
    QString standIn;
    if (!kept.empty() && kept.front() == keys.front()) {
      keys.push_back(globalKeyTable(!alternative).front());
      kept = globalKeys_->registerKeys(keys);
      if (!kept.empty() && kept.back() == keys.back())
        kept.pop_back();
      else
        standIn = showWindowKeyName(!alternative);
    }
    QStringList taken;
    for (const platform::HotKey& key : kept) taken << globalKeyName(key);
    if (!taken.isEmpty())
      problem =
          qs(s[Str::sKeysTakenElsewhere]).arg(taken.join(", "), globalKeySetName(!alternative));
    if (!standIn.isEmpty()) problem += qs(s[Str::sKeysStandIn]).arg(standIn);
  }
  if (problem.isEmpty()) return;
  // Not modal: the program may be starting hidden, and nothing has to wait for the answer.
  // No owner either: a window manager hides an owned box together with its hidden owner.
  delete keysMessage_;
  keysMessage_ = new QMessageBox(QMessageBox::Information, windowTitle(), problem, QMessageBox::Ok);
  keysMessage_->setObjectName("GlobalKeysMessage");
  keysMessage_->setAttribute(Qt::WA_DeleteOnClose);
  keysMessage_->setModal(false);
  keysMessage_->show();
}

void MainWindow::globalKeyPressed(int id) {
  const std::optional<GlobalKey> key = globalKeyOf(id);
  if (!key || !notebook_) return;
  switch (key->action) {
    case GlobalKey::ShowWindow: showWindow(); break;
    case GlobalKey::CopySlot: showNotice(notebook_->copyHotKeyText(key->slot, clipboard_)); break;
    case GlobalKey::StartLineFeed:
      showNotice(notebook_->startLineFeed(key->slot, clipboard_));
      break;
    case GlobalKey::NextFeedLine:
      if (const auto notice = notebook_->nextFeedLine(clipboard_)) showNotice(*notice);
      break;
    case GlobalKey::NewCardFromClipboard: newCardFromClipboard(true); break;
  }
}

void MainWindow::showNotice(const notebook::Notice& notice) {
  popup_->popUp(qs(notice.text),
                notice.failed ? InfoPopup::errorColour() : InfoPopup::successColour());
}

void MainWindow::newCardFromClipboard(bool fromGlobalKey) {
  if (!notebook_) return;
  std::optional<std::string> name;
  runCommand([&] { name = notebook_->newCardFromClipboard(clipboard_); });
  if (!name) return;
  if (!windowShown_) showWindow();
  focusCard();
  // A key pressed in another program deserves a word where the user is looking.
  if (fromGlobalKey) showNotice({*name});
}

int MainWindow::positionOfItem(const QAction* item) const {
  const int card = item->data().toInt();
  const auto& strip = notebook_->strip();
  for (int position = 0; position < static_cast<int>(strip.size()); ++position)
    if (strip[position].card == card) return position;
  return -1;
}

void MainWindow::showWindow() {
  trace::mark("show");
  if (isMinimized() || !isVisible()) showNormal();
  windowShown_ = true;
  raise();
  activateWindow();
  focusCard();
}

void MainWindow::focusCard() { editorPanel_->focusText(); }

void MainWindow::stepAside() {
  windowShown_ = false;
  showTray();  // a start hidden may come before the first paint
  if (QSystemTrayIcon::isSystemTrayAvailable() && tray_->isVisible())
    hide();
  else
    showMinimized();
}

void MainWindow::runLineFunction(int item) {
  if (!notebook_) return;
  QCollator collator;  // the user's locale
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  const auto collate = [&collator](const std::string& a, const std::string& b) {
    return collator.compare(QString::fromStdString(a), QString::fromStdString(b));
  };
  QApplication::setOverrideCursor(Qt::WaitCursor);
  runCommand(
      [&] {
        notebook_->runLineFunction(static_cast<notebook::Notebook::LineFunction>(item), collate);
      },
      false);
  QApplication::restoreOverrideCursor();
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!firstShowDone_) {
    firstShowDone_ = true;
    firstShow();
  }
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
  connect(editorPanel_, &EditorPanel::cardDrawn, this, [this] {
    notebook_->makeSnapshotsAndJournal();
    // Once the first card is on the screen, the fonts the others name are loaded ahead.
    if (!fontsWarmed_) {
      fontsWarmed_ = true;
      warmFonts(this, notebook_->fontFamiliesOfCards(), editorPanel_->textFont());
    }
  });
  transfers_->setNotebook(&*notebook_, &*strings_);
  try {
    notebook_->open();
  } catch (const std::exception& e) {
    reportError(e);
  }
  drafts_ = std::make_unique<DraftKeeper>(editorPanel_->editor(),
                                          [this] { return notebook_->takeDraft(); });
  showStrip();
  showCurrentCard();
  // Shown, not applied: applying would resize the card's stored selection at every start.
  editorPanel_->formatBar()->sizeBox()->showSize(editorPanel_->textFont().pointSize());
  showList(settings[store::kShowList] == "1");
  windowShown_ = true;
  focusCard();

  // Started hidden: only the tray icon shows, once the window manager has shown the window.
  if (settings[store::kHidden] == "Hide" && QSystemTrayIcon::isSystemTrayAvailable())
    QTimer::singleShot(0, this, [this] {
      if (windowShown_) stepAside();
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
  stripPanel_->strip->setLook({settingColour(settings[store::kStripBackground], kPanelColour),
                               settingColour(settings[store::kCardNameColour], Qt::yellow),
                               settingColour(settings[store::kActiveCardColour], Qt::white)});
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
  runCommand([&] { notebook_->createCard(*properties); });
  // Asked for from the tray menu, the new card comes on the screen.
  if (!windowShown_) showWindow();
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
  runCommand([&] { notebook_->editCurrentCard(*properties); });
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
  std::vector<std::pair<std::string, bool>> ticks;
  for (int i = 0; i < stripPanel_->categoryList->count(); ++i) {
    const QListWidgetItem* item = stripPanel_->categoryList->item(i);
    ticks.emplace_back(utf8(item->data(Qt::UserRole).toString()),
                       item->checkState() == Qt::Checked);
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  runCommand([&] {
    // Saved first (the filter's own save then finds nothing changed): a card that cannot be
    // written leaves the filter as it was.
    notebook_->saveCard();
    store_->settings[store::kCategoryFilter] = notebook::categoryFilterFrom(ticks);
    store::saveSettings(*store_, platform_);
    notebook_->applyCategoryFilter();
  });
  QApplication::restoreOverrideCursor();
  focusCard();
}

void MainWindow::showList(bool shown) {
  if (shown) listView();
  listPanel_->setVisible(shown);
  showListButton_->setVisible(!shown);
  hideListButton_->setVisible(shown);
  // Written with the other settings at the next save.
  // WORKAROUND: MinGW's GCC 12 warns of an overlapping copy (-Wrestrict, GCC bug 105329) when a
  // literal is assigned here; a string built first is moved in.
  if (store_) store_->settings[store::kShowList] = std::string(shown ? "1" : "0");
}

void MainWindow::editOptions() {
  if (!notebook_) return;
  const std::string keysBefore = store_->settings[store::kGlobalKeys];
  if (!optionsDialog()->run()) return;
  applyStripLook();
  // New modifiers take effect at once.
  if (store_->settings[store::kGlobalKeys] != keysBefore) registerGlobalKeys();
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
  runCommand([this, position] { notebook_->switchToPosition(position); }, false);
}

void MainWindow::runCommand(const std::function<void()>& command, bool stripChanges) {
  if (!notebook_) return;
  trace::mark("command");
  try {
    command();
  } catch (const std::exception& e) {
    reportError(e);
  }
  if (stripChanges) showStrip();
  showCurrentCard();
  trace::mark("command-done");
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

void MainWindow::quit() {
  quitRequested_ = true;
  close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // A card that could not be written keeps the program open, unless the session ends.
  if (!saveCard() && !sessionEnding_) {
    quitRequested_ = false;
    event->ignore();
    return;
  }
  if (!windowShown_ || quitRequested_) {
    saveOnExit();
    event->accept();
    // The program lives in the tray, so closing its last window does not end it by itself.
    if (tray_) tray_->hide();
    QCoreApplication::quit();
    return;
  }
  event->ignore();
  stepAside();
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  // Minimised by the user, the window is still the user's, not in the tray: only stepping aside
  // clears the flag. Brought back from the task bar, it is on the screen again.
  if (event->type() == QEvent::WindowStateChange && firstShowDone_ && notebook_ && isVisible() &&
      !isMinimized())
    windowShown_ = true;
}

void MainWindow::saveBeforeExit() {
  if (!notebook_ || exitSaved_) return;
  saveCard();
  saveOnExit();
}

void MainWindow::saveOnExit() {
  if (!notebook_) return;
  exitSaved_ = true;
  notebook_->disableSaving();
  try {
    store::saveCardIndex(*store_);
    store::saveSettings(*store_, platform_);
  } catch (const std::exception& e) {
    reportError(e);
  }
}

}  // namespace qw::gui
