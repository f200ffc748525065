#include "cli/stop_signals.h"

#include "files/stop_request.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#endif

namespace carteloom {

#ifdef _WIN32

namespace {

HANDLE unwound = nullptr;  // set once the batch has returned

BOOL WINAPI OnConsoleEvent(DWORD event) {
  RequestStop();
  if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
    // The system ends the process when this returns, and at the latest
    // after five seconds: give the batch the time to remove its files.
    if (unwound != nullptr) WaitForSingleObject(unwound, 4000);
  }
  return TRUE;
}

}  // namespace

void CatchStopSignals() {
  unwound = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

void BatchUnwound() {
  if (unwound != nullptr) SetEvent(unwound);
}

#else

namespace {
void OnStopSignal(int) { RequestStop(); }
}  // namespace

void CatchStopSignals() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: a wait for input returns, so that the stop is seen.
  action.sa_flags = 0;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

void BatchUnwound() {}

#endif

}  // namespace carteloom
