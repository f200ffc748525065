// Lists the visible top-level windows of the desktop it runs on, one line
// each in UTF-8: the title, a tab, the client area as Win32 reports it
// (WIDTHxHEIGHT), a tab, the screen position of the client area's top left
// corner (X,Y), a tab and "active" (the foreground window, which takes the
// keyboard and clicks), "enabled" or "disabled" (under a modal box). The
// scripts that drive the Windows program under wine find its window, where
// to click and when from here.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string Utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
  return bytes;
}

BOOL CALLBACK PrintWindow(HWND window, LPARAM) {
  if (!IsWindowVisible(window)) return TRUE;
  std::wstring title(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  title.resize(static_cast<std::size_t>(GetWindowTextW(window, title.data(), static_cast<int>(title.size()))));
  RECT client{};
  POINT corner{};
  GetClientRect(window, &client);
  ClientToScreen(window, &corner);
  std::printf("%s\t%ldx%ld\t%ld,%ld\t%s\n", Utf8(title).c_str(), client.right - client.left,
              client.bottom - client.top, corner.x, corner.y,
              window == GetForegroundWindow() ? "active" : IsWindowEnabled(window) ? "enabled" : "disabled");
  return TRUE;
}

}  // namespace

int main() {
  EnumWindows(PrintWindow, 0);
  return 0;
}
