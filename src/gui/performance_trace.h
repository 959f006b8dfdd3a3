#pragma once
// Timing lines for the speed harness in bench/scale. With QUILLWICK_TRACE_STARTUP set, each
// mark prints "quillwick-trace <event> <steady clock, ns>" on stderr; the harness reads the
// same clock, so it can time the program from its own launch. Off by default, where a mark
// costs one test of a flag.

class QWidget;

namespace qw::gui::trace {

bool enabled();
void mark(const char* event);

// Marks "painted" after each repaint of `widget`, once the frame has gone to the screen.
void watchPaints(QWidget* widget);

}  // namespace qw::gui::trace
