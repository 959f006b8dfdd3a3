#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace qw::store {

// A stored file could not be read or written. The message names the file and the reason;
// the caller shows it and the command stops at that step.
class StoreError : public std::runtime_error {
 public:
  StoreError(const std::filesystem::path& file, const std::string& reason)
      : std::runtime_error(file.string() + ": " + reason), file_(file) {}
  const std::filesystem::path& file() const { return file_; }

 private:
  std::filesystem::path file_;
};

}  // namespace qw::store
