#pragma once
// Reaching and walking a window's widgets as a keyboard or a screen reader does.

#include <gtest/gtest.h>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QList>
#include <QTest>
#include <QWidget>

namespace qw::gui::fixtures {

// The child of `parent` named `name`; a failure of the test when there is none.
template <typename T>
T* namedChild(const QObject* parent, const char* name) {
  T* found = parent->findChild<T*>(name);
  EXPECT_NE(found, nullptr) << name;
  return found;
}

// Shows `window` and waits until it is the active one: keys reach only the active window.
inline void showActive(QWidget* window) {
  window->show();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
}

// The widgets a user can reach or press under `root`: those taking focus from the keyboard or
// the mouse, and buttons. The inner parts of a compound control (the edit of a combo or spin
// box) count as the control itself. `shownOnly` keeps those shown and enabled right now.
inline QList<QWidget*> interactiveWidgets(QWidget* root, bool shownOnly) {
  QList<QWidget*> found;
  for (QWidget* w : root->findChildren<QWidget*>()) {
    // Menus, the lists of combo boxes and other windows have their own walk.
    if (w->window() != root->window()) continue;
    if (shownOnly && (!w->isVisible() || !w->isEnabled())) continue;
    const bool inner = qobject_cast<QComboBox*>(w->parentWidget()) ||
                       qobject_cast<QAbstractSpinBox*>(w->parentWidget());
    if (inner) continue;
    const bool focusable = w->focusPolicy() != Qt::NoFocus && !w->focusProxy();
    if (focusable || w->inherits("QAbstractButton")) found << w;
  }
  return found;
}

// Presses Tab from the focused widget until the focus comes back to it (or a widget is met twice,
// or `limit` presses) and returns the widgets met, the focused one first. A press that keeps the
// focus in the same widget (from a label to its link) is a step inside it, not a second stop.
inline QList<QWidget*> tabChain(int limit = 40) {
  QList<QWidget*> met;
  QWidget* start = QApplication::focusWidget();
  if (!start) return met;
  met << start;
  for (int i = 0; i < limit; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QWidget* now = QApplication::focusWidget();
    if (!now || now == start) break;
    if (now == met.last()) continue;
    met << now;
    if (met.count(now) > 1) break;
  }
  return met;
}

}  // namespace qw::gui::fixtures
