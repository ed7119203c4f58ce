#pragma once

namespace kq {

// What the editor and a runner in test mode say to each other. The editor starts the runner
// with the argument "/editor" and keeps its standard input open; a line RaiseRequest there asks
// the runner to bring its window to the front (the user started another test run).
inline constexpr char RaiseRequest[] = "raise\n";
// A fault ends the runner with one line on standard error: this and the reason, in English.
inline constexpr char FaultPrefix[] = "run: ";

} // namespace kq
