#pragma once
// Stand-ins for the editor and the message boxes, recording what the behaviour asked of them.

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/ports/clipboard.h"
#include "core/ports/editor.h"
#include "core/ports/prompts.h"

namespace qw::notebook::fixtures {

class FakeEditor : public ports::Editor {
 public:
  void load(std::string_view bytes) override {
    content = std::string(bytes);
    ++loads;
  }
  // Saved content is tagged so tests can tell a save from a copy.
  std::string rtf() const override { return "{\\rtf1 " + content + "}"; }
  std::string plainText() const override { return content; }
  bool isModified() const override { return modified; }
  void setModified(bool m) override { modified = m; }
  ports::Selection selection() const override { return sel; }
  void setSelection(ports::Selection s) override { sel = s; }
  bool wordWrap() const override { return wrap; }
  void setWordWrap(bool on) override { wrap = on; }
  ports::EditorLook look() const override { return editorLook; }
  void setBackgroundItem(int item) override { editorLook.backgroundItem = item; }
  void setLook(const ports::EditorLook& l) override { editorLook = l; }
  void setAvailable(bool a) override { available = a; }

  // Lines over `content`, split at CR LF.
  std::vector<std::string> lines() const override {
    std::vector<std::string> result;
    std::size_t start = 0;
    for (std::size_t end; (end = content.find("\r\n", start)) != std::string::npos; start = end + 2)
      result.push_back(content.substr(start, end - start));
    result.push_back(content.substr(start));
    return result;
  }
  void setLines(const std::vector<std::string>& newLines) override {
    content.clear();
    appendLines(newLines);
  }
  void appendLines(const std::vector<std::string>& added) override {
    if (!added.empty() && !content.empty() && !content.ends_with("\r\n")) content += "\r\n";
    for (const auto& line : added) content += line + "\r\n";
    modified = true;
  }
  void removeLines(const std::vector<int>& removed) override {
    std::vector<std::string> kept;
    const std::vector<std::string> all = lines();
    std::size_t next = 0;
    for (int i = 0; i < static_cast<int>(all.size()); ++i) {
      if (next < removed.size() && removed[next] == i) {
        ++next;
        continue;
      }
      kept.push_back(all[i]);
    }
    joinLines(kept);
  }
  void cutLineStarts(const std::vector<ports::LineCut>& cuts) override {
    std::vector<std::string> all = lines();
    for (const auto& cut : cuts)
      if (cut.line >= 0 && cut.line < static_cast<int>(all.size()))
        all[cut.line].erase(0, cut.count);
    joinLines(all);
  }

  // What a user does: type, which marks the text modified.
  void type(const std::string& text) {
    content = text;
    modified = true;
  }

  void joinLines(const std::vector<std::string>& all) {
    content.clear();
    for (std::size_t i = 0; i < all.size(); ++i) content += (i ? "\r\n" : "") + all[i];
    modified = true;
  }

  std::string content;
  int loads = 0;
  bool modified = false;
  ports::Selection sel;
  bool wrap = false;
  ports::EditorLook editorLook;
  bool available = false;
};

class FakePrompts : public ports::Prompts {
 public:
  void message(const std::string& text) override { messages.push_back(text); }
  bool question(const std::string& caption, const std::string& text) override {
    questions.push_back(caption + "|" + text);
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::optional<std::string> password(const std::string& cardName, bool visible) override {
    passwordRequests.push_back(cardName + (visible ? "|visible" : "|masked"));
    if (passwords.empty()) return std::nullopt;
    auto typed = passwords.front();
    passwords.pop_front();
    return typed;
  }

  std::vector<std::string> messages;
  std::vector<std::string> questions;
  std::deque<bool> answers;
  std::vector<std::string> passwordRequests;
  std::deque<std::optional<std::string>> passwords;  // what the user types, nothing = Cancel
};

class FakeClipboard : public ports::Clipboard {
 public:
  std::string text() const override { return held; }
  void setText(const std::string& text) override {
    held = text;
    ++writes;
  }

  std::string held;
  int writes = 0;
};

}  // namespace qw::notebook::fixtures
