#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/store/utf8_path.h"

namespace qw::store {

// Why a stored file or folder could not be used.
enum class Fault {
  Missing,            // the file does not exist
  Unreadable,         // it exists but cannot be read
  IsFolder,           // a folder stands where the file should be
  Unwritable,         // it cannot be written
  NotKeptAside,       // a damaged file cannot be moved out of the way
  FolderUncreatable,  // the folder cannot be created
  NotAFolder,         // a file stands where the folder should be
  FolderUnwritable,   // no file can be written in the folder
  NoPassword,         // a protected card cannot be written without its password
  NoSealing,          // this build cannot write protected cards
};

// English words for a developer; the interface words each fault in its own language.
inline const char* englishOf(Fault fault) {
  switch (fault) {
    case Fault::Missing: return "does not exist";
    case Fault::Unreadable: return "cannot be read";
    case Fault::IsFolder: return "is a folder, not a file";
    case Fault::Unwritable: return "cannot be written";
    case Fault::NotKeptAside: return "cannot be kept aside";
    case Fault::FolderUncreatable: return "cannot be created";
    case Fault::NotAFolder: return "is a file, not a folder";
    case Fault::FolderUnwritable: return "cannot be written in";
    case Fault::NoPassword: return "cannot be sealed without the card's password";
    case Fault::NoSealing: return "cannot be sealed: sealed cards are not available in this build";
  }
  return "cannot be used";
}

// A stored file could not be read or written; the command stops at that step. The file is
// UTF-8 whatever the system's code page, like every text of core.
class StoreError : public std::runtime_error {
 public:
  // `systemText` is the system's own words for the failure, when it gave any.
  StoreError(const std::filesystem::path& file, Fault fault, std::string systemText = {})
      : std::runtime_error(utf8Of(file) + ": " + englishOf(fault) +
                           (systemText.empty() ? "" : " (" + systemText + ")")),
        file_(file),
        fault_(fault),
        systemText_(std::move(systemText)) {}
  const std::filesystem::path& file() const { return file_; }
  Fault fault() const { return fault_; }
  const std::string& systemText() const { return systemText_; }

 private:
  std::filesystem::path file_;
  Fault fault_;
  std::string systemText_;
};

// No place can hold the data folder: each folder tried, with why it failed (at least one).
class NoDataFolder : public StoreError {
 public:
  explicit NoDataFolder(std::vector<StoreError> attempts)
      : StoreError(attempts.at(0)), attempts_(std::move(attempts)) {}
  const std::vector<StoreError>& attempts() const { return attempts_; }

 private:
  std::vector<StoreError> attempts_;
};

}  // namespace qw::store
