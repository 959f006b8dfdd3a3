#include "gui/folding_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace qw::gui {

namespace {

QToolButton* arrowButton(const char* name, Qt::ArrowType arrow) {
  auto* button = new QToolButton;
  button->setObjectName(name);
  button->setArrowType(arrow);
  button->setAutoRaise(true);
  button->setFixedSize(21, 21);
  return button;
}

}  // namespace

FoldingPanel::FoldingPanel(const char* name, const char* titleName, const char* openName,
                           const char* closeName, QWidget* body, int openHeight, QWidget* parent)
    : QWidget(parent), body_(body), openHeight_(openHeight) {
  setObjectName(name);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 2, 4, 2);
  layout->setSpacing(2);
  auto* top = new QHBoxLayout;
  title_ = new QLabel;
  title_->setObjectName(titleName);
  QFont bold = title_->font();
  bold.setBold(true);
  title_->setFont(bold);
  openButton_ = arrowButton(openName, Qt::UpArrow);
  closeButton_ = arrowButton(closeName, Qt::DownArrow);
  top->addWidget(title_, 1);
  top->addWidget(openButton_);
  top->addWidget(closeButton_);
  layout->addLayout(top);
  layout->addWidget(body_, 1);
  connect(openButton_, &QToolButton::clicked, this, [this] { setOpen(true); });
  connect(closeButton_, &QToolButton::clicked, this, [this] { setOpen(false); });
  setOpen(false);
}

void FoldingPanel::setOpen(bool open) {
  if (open == open_) return;
  open_ = open;
  body_->setVisible(open);
  openButton_->setVisible(!open);
  closeButton_->setVisible(open);
  setFixedHeight(open ? openHeight_ : kClosedHeight);
  emit openChanged(open);
}

void FoldingPanel::setTitle(const QString& title) {
  title_->setText(title);
  // The arrows have no text: they go by the panel they open and close.
  openButton_->setAccessibleName(title);
  closeButton_->setAccessibleName(title);
}

void FoldingPanel::mouseDoubleClickEvent(QMouseEvent* event) {
  QWidget::mouseDoubleClickEvent(event);
  setOpen(!open_);
}

}  // namespace qw::gui
