#include "gui/accessibility.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLineEdit>

#include "gui/card_strip_view.h"

namespace qw::gui {
namespace {

// A combo box: Qt names it on Linux by the item it shows, so a screen reader says "Standard"
// where the field is "Category". Here the name is its own or its buddy label's, the shown item
// its value.
class ComboFace : public QAccessibleWidget {
 public:
  explicit ComboFace(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value)
      return box()->isEditable() ? box()->lineEdit()->text() : box()->currentText();
    return QAccessibleWidget::text(t);
  }

  // The list that drops down, and the typing field of an editable box.
  int childCount() const override { return box()->isEditable() ? 2 : 1; }
  QAccessibleInterface* child(int index) const override {
    if (index == 0) return QAccessible::queryAccessibleInterface(box()->view());
    if (index == 1 && box()->isEditable())
      return QAccessible::queryAccessibleInterface(box()->lineEdit());
    return nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    if (!child) return -1;
    if (child->object() == box()->view()) return 0;
    if (box()->isEditable() && child->object() == box()->lineEdit()) return 1;
    return -1;
  }

  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.expandable = true;
    s.expanded = box()->view()->isVisible();
    s.editable = box()->isEditable();
    return s;
  }

  QStringList actionNames() const override {
    return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
  }
  void doAction(const QString& action) override {
    if (action == showMenuAction() || action == pressAction())
      box()->showPopup();
    else
      QAccessibleWidget::doAction(action);
  }

 private:
  QComboBox* box() const { return static_cast<QComboBox*>(widget()); }
};

// The strip of card names: a list whose items are the cards, the current one selected.
class StripFace : public QAccessibleWidget {
 public:
  explicit StripFace(CardStripView* strip) : QAccessibleWidget(strip, QAccessible::List) {}

  int childCount() const override { return strip()->count(); }
  QAccessibleInterface* child(int index) const override {
    if (index < 0 || index >= strip()->count()) return nullptr;
    return QAccessible::queryAccessibleInterface(strip()->label(index));
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    return child && child->object() ? strip()->positionOf(child->object()) : -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    for (int p = 0; p < strip()->count(); ++p) {
      QAccessibleInterface* item = child(p);
      if (item && item->rect().contains(x, y)) return item;
    }
    return nullptr;
  }

 private:
  CardStripView* strip() const { return static_cast<CardStripView*>(widget()); }
};

// One card of the strip: named by the card, selected when it is the current one.
class StripItemFace : public QAccessibleWidget {
 public:
  explicit StripItemFace(QWidget* label) : QAccessibleWidget(label, QAccessible::ListItem) {}

  QAccessibleInterface* parent() const override {
    if (CardStripView* view = strip()) return QAccessible::queryAccessibleInterface(view);
    return QAccessibleWidget::parent();
  }
  int childCount() const override { return 0; }
  QAccessibleInterface* child(int) const override { return nullptr; }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return static_cast<const QLabel*>(widget())->text();
    return QAccessibleWidget::text(t);
  }

  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    const CardStripView* view = strip();
    const bool current = view && view->selected() == position();
    s.selectable = true;
    s.selected = current;
    s.focusable = true;
    s.focused = current && view->hasFocus();
    return s;
  }

  QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString& action) override {
    if (action == pressAction() && strip()) strip()->choose(position());
  }

 private:
  CardStripView* strip() const {
    for (QWidget* w = widget()->parentWidget(); w; w = w->parentWidget())
      if (auto* view = qobject_cast<CardStripView*>(w)) return view;
    return nullptr;
  }
  int position() const { return strip() ? strip()->positionOf(widget()) : -1; }
};

QAccessibleInterface* makeFace(const QString& className, QObject* object) {
  if (!object || !object->isWidgetType()) return nullptr;
  // Asked for each class of the object, its own first: subclasses of QComboBox come here too.
  if (className == QLatin1String("QComboBox"))
    return new ComboFace(static_cast<QComboBox*>(object));
  if (className == QLatin1String("qw::gui::CardStripView"))
    return new StripFace(static_cast<CardStripView*>(object));
  if (className == QLatin1String("qw::gui::StripLabel"))
    return new StripItemFace(static_cast<QWidget*>(object));
  return nullptr;
}

}  // namespace

void installAccessibleFaces() {
  // After the application's own, which serves Qt's widgets: the last installed is asked first.
  static const bool installed = [] {
    QAccessible::installFactory(makeFace);
    return true;
  }();
  (void)installed;
}

}  // namespace qw::gui
