#pragma once
// The point size field. Its arrows stay within 8 to 40, but a typed size is taken as typed,
// even outside that range, and only brought into it when the field loses the focus.

#include <QSpinBox>

namespace qw::gui {

class FontSizeBox : public QSpinBox {
  Q_OBJECT
 public:
  static constexpr int kMinimum = 8;
  static constexpr int kMaximum = 40;

  explicit FontSizeBox(QWidget* parent = nullptr);

  // The size the field's text stands for: its number, or 8 when it holds none.
  int typedSize() const;
  // Shows `size` without reporting it: a size the program sets, not one the user typed.
  void showSize(int size);

  QValidator::State validate(QString& input, int& pos) const override;
  int valueFromText(const QString& text) const override;

 signals:
  // Every change of the field's text, typed, stepped or set by the program, with typedSize().
  void sizeTextChanged(int size);

 protected:
  bool event(QEvent* event) override;

 private:
  // Reports the text when it differs from the last one reported.
  void noticeText();

  QString reported_;
};

}  // namespace qw::gui
