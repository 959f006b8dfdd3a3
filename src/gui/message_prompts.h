#pragma once

#include <QString>

#include "core/ports/prompts.h"

class QWidget;

namespace qw::gui {

// Message boxes over the main window, titled like the application.
class MessagePrompts : public ports::Prompts {
 public:
  explicit MessagePrompts(QWidget* parent) : parent_(parent) {}

  void setTitle(const QString& title) { title_ = title; }

  void message(const std::string& text) override;
  bool question(const std::string& caption, const std::string& text) override;

 private:
  QWidget* parent_;
  QString title_ = "quillWick";
};

}  // namespace qw::gui
