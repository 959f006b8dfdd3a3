#pragma once

#include <string>

namespace qw::platform {

// The name the running copy listens on for the command line, as QLocalServer takes it: a
// socket in the user's own runtime folder, or on Windows a pipe named for the user and the
// session, so that another user's or another session's copy never answers.
std::string remoteSocketName();

}  // namespace qw::platform
