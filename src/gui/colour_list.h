#pragma once
// A drop-down list of colours with a swatch beside each name. Item positions are kept in the
// card settings files, so the order never changes: 0 is a custom colour picked in a dialog,
// then the sixteen standard colours.

#include <QColor>
#include <QComboBox>
#include <bitset>
#include <functional>
#include <optional>

namespace qw::gui {

class ColourList : public QComboBox {
  Q_OBJECT
 public:
  static constexpr int kCustomItem = 0;
  static constexpr int kItemCount = 17;

  explicit ColourList(QWidget* parent = nullptr);

  // The colour of an item; the custom colour for item 0, nothing outside the list.
  std::optional<QColor> colourAt(int item) const;
  QColor customColour() const { return custom_; }
  void setCustomColour(const QColor& colour);

  // Asks the user for the custom colour, starting from the current one; nothing when the user
  // cancels. A colour dialog unless replaced (tests replace it). It is asked only when item 0
  // is chosen from the open list: stepping onto it with the keys or the wheel takes the custom
  // colour as it is.
  using Picker = std::function<std::optional<QColor>(const QColor& initial, QWidget* parent)>;
  void setPicker(Picker picker) { picker_ = std::move(picker); }

  void showPopup() override;
  void hidePopup() override;

 signals:
  // The user chose an item. A cancelled dialog chooses nothing and puts the list back.
  void colourChosen(int item, const QColor& colour);

 private:
  void onActivated(int item);
  void ensureSwatch(int item);
  void paintSwatch(int item);

  QColor custom_ = Qt::black;
  Picker picker_;
  bool fromPopup_ = false;           // the activation being handled came from the open list
  int beforePopup_ = -1;             // the item shown when the list opened
  std::bitset<kItemCount> painted_;  // items whose swatch is painted
};

}  // namespace qw::gui
