#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

#include "core/store/utf8_path.h"

namespace qw::store {

// A stored file could not be read or written. The message names the file and the reason;
// the caller shows it and the command stops at that step. The message is UTF-8 whatever the
// system's code page, like every text of core.
class StoreError : public std::runtime_error {
 public:
  StoreError(const std::filesystem::path& file, const std::string& reason)
      : std::runtime_error(utf8Of(file) + ": " + reason), file_(file) {}
  const std::filesystem::path& file() const { return file_; }

 private:
  std::filesystem::path file_;
};

}  // namespace qw::store
