#pragma once

namespace qw::platform {

// Puts the calling thread behind the others of the program: its work fills the time they
// leave, as the reading of the data folder while the window is built. Nothing happens where
// the system refuses.
void runInBackground();

}  // namespace qw::platform
