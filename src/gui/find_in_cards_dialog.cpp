#include "gui/find_in_cards_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/qt_text.h"

namespace qw::gui {
using i18n::Str;

namespace {

enum Column { kCardColumn, kLineColumn, kTextColumn };
// Where a row keeps its hit's number in found_, and the hit's place in its text.
constexpr int kHitRole = Qt::UserRole;
constexpr int kMarkStartRole = Qt::UserRole + 1;
constexpr int kMarkLengthRole = Qt::UserRole + 2;
// Hits past this many are counted, not listed: a list of a million rows helps nobody.
constexpr std::size_t kMostListed = 5000;

// The text column with the hit drawn as a selection would be, in bold.
class MarkedTextDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const QVariant start = index.data(kMarkStartRole);
    if (!start.isValid()) {
      QStyledItemDelegate::paint(painter, option, index);
      return;
    }
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QString text = item.text;
    item.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);

    const QRect area =
        style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget).adjusted(2, 0, -2, 0);
    const int markStart = start.toInt();
    const int markLength = index.data(kMarkLengthRole).toInt();
    const QString before = text.left(markStart);
    const QString mark = text.mid(markStart, markLength);
    const QString after = text.mid(markStart + markLength);
    QFont bold = item.font;
    bold.setBold(true);
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorRole ink = selected ? QPalette::HighlightedText : QPalette::Text;

    painter->save();
    painter->setClipRect(area);
    int x = area.left();
    const auto draw = [&](const QString& part, const QFont& font, bool marked) {
      const QFontMetrics metrics(font);
      const int width = metrics.horizontalAdvance(part);
      const QRect box(x, area.top(), width, area.height());
      if (marked && !selected) painter->fillRect(box, option.palette.color(QPalette::Highlight));
      painter->setFont(font);
      painter->setPen(option.palette.color(marked && !selected ? QPalette::HighlightedText : ink));
      painter->drawText(box, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, part);
      x += width;
    };
    draw(before, item.font, false);
    draw(mark, bold, true);
    draw(after, item.font, false);
    painter->restore();
  }
};

QString arg(const QString& text, int value) { return QString(text).arg(value); }

}  // namespace

FindInCardsDialog::FindInCardsDialog(find::CardFinder& finder, std::filesystem::path dataFolder,
                                     CardSource cards, QWidget* parent)
    : QDialog(parent),
      finder_(finder),
      dataFolder_(std::move(dataFolder)),
      cards_(std::move(cards)),
      strings_(i18n::StringTable::forLanguage("Français")),
      fieldLabel_(new QLabel),
      field_(new QLineEdit),
      ignoreAccents_(new QCheckBox),
      shownCategoriesOnly_(new QCheckBox),
      hits_(new QTreeWidget),
      status_(new QLabel) {
  setObjectName("FindInCardsDialog");
  field_->setObjectName("EFindAll");
  field_->setClearButtonEnabled(true);
  fieldLabel_->setBuddy(field_);
  ignoreAccents_->setObjectName("CBIgnoreAccents");
  shownCategoriesOnly_->setObjectName("CBShownCategoriesOnly");
  hits_->setObjectName("LVFoundLines");
  hits_->setColumnCount(3);
  hits_->setRootIsDecorated(false);
  hits_->setUniformRowHeights(true);
  hits_->setAllColumnsShowFocus(true);
  hits_->setItemDelegateForColumn(kTextColumn, new MarkedTextDelegate(hits_));
  hits_->header()->setStretchLastSection(true);
  hits_->setColumnWidth(kCardColumn, 160);
  hits_->setColumnWidth(kLineColumn, 50);
  status_->setObjectName("LFindStatus");

  auto* fieldRow = new QHBoxLayout;
  fieldRow->addWidget(fieldLabel_);
  fieldRow->addWidget(field_, 1);
  auto* ticks = new QHBoxLayout;
  ticks->addWidget(ignoreAccents_);
  ticks->addWidget(shownCategoriesOnly_);
  ticks->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fieldRow);
  layout->addLayout(ticks);
  layout->addWidget(hits_, 1);
  layout->addWidget(status_);
  resize(640, 420);

  connect(field_, &QLineEdit::textChanged, this, &FindInCardsDialog::search);
  connect(ignoreAccents_, &QCheckBox::toggled, this, &FindInCardsDialog::search);
  connect(shownCategoriesOnly_, &QCheckBox::toggled, this, &FindInCardsDialog::search);
  connect(hits_, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem* item) { openItem(item); });
  field_->installEventFilter(this);
}

FindInCardsDialog::~FindInCardsDialog() {
  if (running_) *running_ = true;
}

void FindInCardsDialog::setStrings(const i18n::StringTable& strings) {
  strings_ = strings;
  const auto text = [&](Str id) { return qs(strings_[id]); };
  setWindowTitle(text(Str::sFindTitle));
  fieldLabel_->setText(text(Str::sFindField));
  ignoreAccents_->setText(text(Str::sFindIgnoreAccents));
  shownCategoriesOnly_->setText(text(Str::sFindShownCategoriesOnly));
  hits_->setHeaderLabels(
      {text(Str::sFindColumnCard), text(Str::sFindColumnLine), text(Str::sFindColumnText)});
  hits_->setAccessibleName(text(Str::sFindHitsList));
  field_->setAccessibleName(text(Str::sFindTitle));
}

QString FindInCardsDialog::query() const { return field_->text(); }

void FindInCardsDialog::open() {
  show();
  raise();
  activateWindow();
  field_->setFocus(Qt::ActiveWindowFocusReason);
  field_->selectAll();
  search();
}

bool FindInCardsDialog::eventFilter(QObject* watched, QEvent* event) {
  // From the field, the arrows go down the list and Enter opens the chosen hit (the first one
  // when none is chosen), so the mouse is never needed.
  if (watched == field_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if ((key == Qt::Key_Down || key == Qt::Key_PageDown) && hits_->topLevelItemCount() > 0) {
      hits_->setFocus(Qt::TabFocusReason);
      if (!hits_->currentItem()) hits_->setCurrentItem(hits_->topLevelItem(0));
      return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      QTreeWidgetItem* item = hits_->currentItem();
      for (int row = 0; !item && row < hits_->topLevelItemCount(); ++row)
        if (hits_->topLevelItem(row)->data(kCardColumn, kHitRole).isValid())
          item = hits_->topLevelItem(row);
      if (item) openItem(item);
      return true;  // never the dialog's default button
    }
  }
  return QDialog::eventFilter(watched, event);
}

void FindInCardsDialog::search() {
  if (running_) *running_ = true;
  running_.reset();
  const int generation = ++generation_;
  hits_->clear();
  found_.clear();
  const QString text = field_->text();
  if (text.isEmpty() || !isVisible()) {
    status_->clear();
    return;
  }
  status_->setText(qs(strings_[Str::sFindSearching]));
  find::FindQuery query{utf8(text), ignoreAccents_->isChecked(), kMostListed};
  // The reports come from the finder's thread: they are queued to this one and dropped when a
  // newer search has begun.
  running_ = finder_.start(
      cards_(shownCategoriesOnly_->isChecked()), dataFolder_, std::move(query),
      [this, generation](const find::SearchedCard& card, find::CardOutcome outcome,
                         std::vector<find::FoundLine> lines) {
        // The card's name only: an open card comes with its whole text.
        QMetaObject::invokeMethod(
            this,
            [this, generation, name = card.name, outcome, lines = std::move(lines)]() mutable {
              addCard(generation, name, outcome, std::move(lines));
            },
            Qt::QueuedConnection);
      },
      [this, generation](const find::FindSummary& summary) {
        QMetaObject::invokeMethod(
            this, [this, generation, summary] { finish(generation, summary); },
            Qt::QueuedConnection);
      });
}

void FindInCardsDialog::addCard(int generation, const std::string& cardName,
                                find::CardOutcome outcome, std::vector<find::FoundLine> lines) {
  if (generation != generation_) return;
  if (outcome == find::CardOutcome::Unreadable) {
    auto* item = new QTreeWidgetItem({qs(cardName), QString(), qs(strings_[Str::sFindUnreadable])});
    QFont font = item->font(kTextColumn);
    font.setItalic(true);
    item->setFont(kTextColumn, font);
    hits_->addTopLevelItem(item);
    return;
  }
  if (outcome != find::CardOutcome::Searched) return;
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(lines.size()));
  for (find::FoundLine& line : lines) {
    const std::string_view text = line.text;
    const QString before = qs(std::string(text.substr(0, line.markStart)));
    const QString mark =
        qs(std::string(text.substr(line.markStart, line.markEnd - line.markStart)));
    auto* item = new QTreeWidgetItem({qs(line.name), QString::number(line.line), qs(line.text)});
    item->setData(kCardColumn, kHitRole, static_cast<int>(found_.size()));
    item->setData(kTextColumn, kMarkStartRole, static_cast<int>(before.size()));
    item->setData(kTextColumn, kMarkLengthRole, static_cast<int>(mark.size()));
    item->setTextAlignment(kLineColumn, Qt::AlignRight | Qt::AlignVCenter);
    items.push_back(item);
    found_.push_back(std::move(line));
  }
  hits_->addTopLevelItems(items);
}

void FindInCardsDialog::finish(int generation, const find::FindSummary& summary) {
  if (generation != generation_) return;
  running_.reset();
  const auto text = [&](Str id) { return qs(strings_[id]); };
  QString status = summary.hits == 0
                       ? text(Str::sFindNoHit)
                       : text(Str::sFindHits).arg(summary.hits).arg(summary.cardsWithHits);
  if (summary.listed < summary.hits)
    status += ", " + arg(text(Str::sFindListedOnly), summary.listed);
  if (summary.skippedProtected > 0)
    status += " - " + arg(text(Str::sFindSkippedProtected), summary.skippedProtected);
  status_->setText(status);
}

void FindInCardsDialog::openItem(QTreeWidgetItem* item) {
  const QVariant hit = item ? item->data(kCardColumn, kHitRole) : QVariant();
  if (!hit.isValid()) return;
  const find::FoundLine chosen = found_.at(static_cast<std::size_t>(hit.toInt()));
  hide();
  emit openHit(chosen, field_->text());
}

}  // namespace qw::gui
