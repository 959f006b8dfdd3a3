#include "gui/card_strip_view.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>

#include "gui/accessibility.h"
#include "gui/performance_trace.h"

namespace qw::gui {

CardStripView::CardStripView(QWidget* parent)
    : QScrollArea(parent),
      canvas_(new QWidget),
      marker_(new QLabel(">", canvas_)),
      bottom_(new QLabel(canvas_)) {
  installAccessibleFaces();
  setObjectName("SBLabel");
  // Reached with Tab; the arrow keys then walk the cards.
  setFocusPolicy(Qt::StrongFocus);
  setFrameShape(QFrame::NoFrame);
  setWidgetResizable(false);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  canvas_->setObjectName("SBLabelCanvas");
  QFont font = canvas_->font();
  font.setPointSize(8);
  canvas_->setFont(font);
  setWidget(canvas_);
  canvas_->installEventFilter(this);
  // Scrolled before the rest of the labels came: they come now.
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &CardStripView::makeRest);
  marker_->setObjectName("LLSignal");
  bottom_->setObjectName("LBottomMenu");

  auto* standard = new StripLabel(canvas_);
  standard->setObjectName("LStandard");
  standard->setTextFormat(Qt::PlainText);
  standard->setCursor(Qt::PointingHandCursor);
  standard->installEventFilter(this);
  labels_.push_back(standard);
  setEntries({});
}

void CardStripView::setLook(const Look& look) {
  look_ = look;
  for (QWidget* area : {viewport(), canvas_}) {
    QPalette palette = area->palette();
    palette.setColor(QPalette::Window, look.background);
    // Unselected labels take their colour from the canvas: one palette for 500 labels.
    palette.setColor(QPalette::WindowText, look.name);
    area->setPalette(palette);
    area->setAutoFillBackground(true);
  }
  QFont bold = marker_->font();
  bold.setBold(true);
  marker_->setFont(bold);
  QPalette markerPalette = marker_->palette();
  markerPalette.setColor(QPalette::WindowText, look.selected);
  marker_->setPalette(markerPalette);
  for (int p = 0; p < static_cast<int>(labels_.size()); ++p) style(labels_[p], p == selected_);
}

void CardStripView::setEntries(const std::vector<notebook::StripEntry>& entries) {
  // Labels are reused, and spare ones deleted later: the click that led here may still be
  // inside one of them.
  count_ = std::max<size_t>(entries.size(), 1);
  while (labels_.size() > count_) {
    labels_.back()->hide();
    labels_.back()->deleteLater();
    labels_.pop_back();
  }
  names_.clear();
  cards_.clear();
  for (const notebook::StripEntry& entry : entries) {
    names_.push_back(QString::fromStdString(entry.name));
    cards_.push_back(entry.card);
  }
  if (selected_ >= count()) selected_ = 0;
  // The labels a screen can show now; the others when they could be seen or something needs
  // them. Labels that exist already are all brought up to date.
  const QScreen* shownOn = screen();
  const size_t onScreen = shownOn ? shownOn->availableGeometry().height() / kStep + 1 : count_;
  fillLabels(std::min(count_, std::max(onScreen, labels_.size())));
  restDue_ = labels_.size() < count_;
  style(labels_[selected_], true);
  layoutCanvas();
}

void CardStripView::fillLabels(size_t end) {
  // Many new labels are made on a hidden canvas, which shows them all at once after.
  const bool many = end > labels_.size() + 16 && canvas_->isVisible();
  if (many) canvas_->hide();
  while (labels_.size() < end) {
    auto* label = new StripLabel(canvas_);
    // A card name is text, never markup.
    label->setTextFormat(Qt::PlainText);
    label->setCursor(Qt::PointingHandCursor);
    label->installEventFilter(this);
    labels_.push_back(label);
  }
  for (size_t p = 0; p < std::min(end, names_.size()); ++p) {
    StripLabel* label = labels_[p];
    label->setText(names_[p]);
    label->tag = p == 0 ? notebook::kMainCard : static_cast<int>(p);
    label->hint = QString::number(cards_[p]);
    style(label, static_cast<int>(p) == selected_);
    label->show();
  }
  if (many) canvas_->show();
}

void CardStripView::makeRest() {
  if (!restDue_) return;
  restDue_ = false;
  trace::mark("strip-rest-begin");
  fillLabels(count_);
  layoutCanvas();
  trace::mark("strip-rest-end");
}

QLabel* CardStripView::label(int position) {
  if (position >= static_cast<int>(labels_.size())) makeRest();
  return labels_.at(position);
}

int CardStripView::positionOf(const QObject* label) const {
  for (int p = 0; p < static_cast<int>(labels_.size()); ++p)
    if (labels_[p] == label) return p < count() ? p : -1;
  return -1;
}

void CardStripView::choose(int position) {
  if (position >= 0 && position < count()) emit clicked(position);
}

void CardStripView::select(int position) {
  if (position < 0 || position >= count()) return;
  if (position >= static_cast<int>(labels_.size())) makeRest();
  const int previous = selected_;
  style(labels_[selected_], false);
  selected_ = position;
  style(labels_[selected_], true);
  marker_->move(4, labels_[selected_]->y());
  keepMarkerInView();
  if (hasFocus()) canvas_->update();
  announceSelection(previous);
}

void CardStripView::announceSelection(int previous) {
  if (!QAccessible::isActive()) return;
  QAccessible::State selection;
  selection.selected = true;
  if (previous != selected_ && previous < static_cast<int>(labels_.size())) {
    QAccessibleStateChangeEvent left(labels_[previous], selection);
    QAccessible::updateAccessibility(&left);
  }
  QAccessibleStateChangeEvent taken(labels_[selected_], selection);
  QAccessible::updateAccessibility(&taken);
  QAccessibleEvent chosen(labels_[selected_], QAccessible::Selection);
  QAccessible::updateAccessibility(&chosen);
  if (hasFocus()) {
    QAccessibleEvent focus(labels_[selected_], QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
  }
}

void CardStripView::keyPressEvent(QKeyEvent* event) {
  const int page = std::max(1, viewport()->height() / kStep - 1);
  int to = selected_;
  switch (event->key()) {
    case Qt::Key_Up: to -= 1; break;
    case Qt::Key_Down: to += 1; break;
    case Qt::Key_PageUp: to -= page; break;
    case Qt::Key_PageDown: to += page; break;
    case Qt::Key_Home: to = 0; break;
    case Qt::Key_End: to = count() - 1; break;
    default: QScrollArea::keyPressEvent(event); return;
  }
  event->accept();
  to = std::clamp(to, 0, count() - 1);
  if (to == selected_) return;
  select(to);
  emit stepped(to);
}

void CardStripView::focusInEvent(QFocusEvent* event) {
  QScrollArea::focusInEvent(event);
  canvas_->update();
  announceSelection(selected_);
}

void CardStripView::focusOutEvent(QFocusEvent* event) {
  QScrollArea::focusOutEvent(event);
  canvas_->update();
}

void CardStripView::keepMarkerInView() {
  QScrollBar* bar = verticalScrollBar();
  const int top = marker_->y() - bar->value();  // in the visible part of the strip
  const int height = viewport()->height();
  if (top > height - 45)
    bar->setValue(bar->value() + top - height + 45);
  else if (top < kTop)
    bar->setValue(kStep * selected_);
}

void CardStripView::style(QLabel* label, bool selected) const {
  // Only the selected label has a palette and a font of its own; the others inherit the
  // canvas's and are sized from its metrics, which is what keeps a strip of 500 cheap.
  if (selected) {
    QPalette palette = canvas_->palette();
    palette.setColor(QPalette::WindowText, look_.selected);
    label->setPalette(palette);
    label->setFont(selectedFont());
    label->resize(nameSize(QFontMetrics(label->font()), label->text()));
    return;
  }
  if (label->testAttribute(Qt::WA_SetPalette)) label->setPalette(QPalette());
  if (label->testAttribute(Qt::WA_SetFont)) label->setFont(QFont());
  label->resize(nameSize(QFontMetrics(canvas_->font()), label->text()));
}

QFont CardStripView::selectedFont() const {
  QFont bold = canvas_->font();
  bold.setBold(true);
  return bold;
}

QSize CardStripView::nameSize(const QFontMetrics& metrics, const QString& name) {
  return {metrics.boundingRect(name).width() + 2, metrics.height()};
}

void CardStripView::layoutCanvas() {
  // Wide enough for every name as it shows once selected, in bold: selecting one never cuts
  // it, nor makes the strip jump sideways.
  const QFontMetrics selected(selectedFont());
  int width = 0;
  for (int p = 0; p < static_cast<int>(labels_.size()); ++p) {
    labels_[p]->move(kLeft, kTop + kStep * p);
    width = std::max(width, kLeft + nameSize(selected, labels_[p]->text()).width() + 8);
  }
  marker_->move(4, labels_[selected_]->y());
  // Keeps room to scroll past the last label.
  bottom_->move(9, (count() - 1) * kStep + 112);
  canvas_->resize(width, bottom_->y() + bottom_->height());
}

bool CardStripView::eventFilter(QObject* watched, QEvent* event) {
  // The labels below the screen wait until they could be seen: the strip scrolls, a card down
  // there is selected, or a taller screen shows past them. Assistive technology reads them
  // all, so for it they come as soon as the strip is on the screen. Either way, after this
  // frame: the first paint of the window waits for nothing.
  const auto pastTheLabels = [&] {
    return static_cast<QPaintEvent*>(event)->rect().bottom() >=
           kTop + kStep * static_cast<int>(labels_.size());
  };
  if (event->type() == QEvent::Paint && watched == canvas_ && restDue_ && !restQueued_ &&
      (QAccessible::isActive() || pastTheLabels())) {
    restQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
          QTimer::singleShot(0, this, [this] {
            restQueued_ = false;
            makeRest();
          });
        },
        Qt::QueuedConnection);
  }
  // With the focus, a dotted frame around the selected name says where the arrow keys start.
  if (event->type() == QEvent::Paint && watched == canvas_ && hasFocus()) {
    QPainter painter(canvas_);
    painter.setPen(QPen(look_.selected, 1, Qt::DotLine));
    painter.drawRect(labels_[selected_]->geometry().adjusted(-3, -1, 2, 0));
  }
  if (event->type() == QEvent::MouseButtonRelease) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton) {
      for (int p = 0; p < static_cast<int>(labels_.size()); ++p) {
        if (labels_[p] == watched) {
          emit clicked(p);
          return true;
        }
      }
    }
  }
  return QScrollArea::eventFilter(watched, event);
}

}  // namespace qw::gui
