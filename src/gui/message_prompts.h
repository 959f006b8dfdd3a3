#pragma once

#include <QString>

#include "core/i18n/strings.h"
#include "core/ports/prompts.h"

class QWidget;

namespace qw::gui {

// Message boxes over the main window, titled like the application.
class MessagePrompts : public ports::Prompts {
 public:
  explicit MessagePrompts(QWidget* parent) : parent_(parent) {}

  void setTitle(const QString& title) { title_ = title; }
  // The captions of the password dialog; French until set.
  void setStrings(const i18n::StringTable* strings) { strings_ = strings; }

  void message(const std::string& text) override;
  bool question(const std::string& caption, const std::string& text) override;
  std::optional<std::string> password(const std::string& cardName, bool visible) override;

 private:
  QWidget* parent_;
  QString title_ = "quillWick";
  const i18n::StringTable* strings_ = nullptr;
};

}  // namespace qw::gui
