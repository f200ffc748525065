#pragma once
// Ctrl-C and SIGTERM (on Windows Ctrl-C, Ctrl-Break and closing the console)
// ask the running batch to stop: it discards what it was writing, leaves
// every file in place as it was, and the command line exits with 130.
namespace carteloom {

inline constexpr int kStoppedExitStatus = 130;

void CatchStopSignals();

// The batch has unwound. A closing console ends the process as soon as its
// handler returns, so the handler waits for this (a few seconds at most).
void BatchUnwound();

}  // namespace carteloom
