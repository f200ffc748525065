#include "cli/console.h"

#include <iostream>
#include <string_view>

#include "files/charset_codec.h"
#include "files/stop_request.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <clocale>
#include <cstring>
#include <langinfo.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace carteloom {
namespace {

bool IsUtf8(std::string_view text) {
  while (!text.empty()) {
    const std::size_t length = Utf8SequenceLength(text);
    if (length == 0) return false;
    text.remove_prefix(length);
  }
  return true;
}

#ifdef _WIN32

HANDLE HandleOf(std::FILE* stream) { return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream))); }

std::wstring WideFrom(UINT codePage, std::string_view bytes) {
  const int length = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
  if (length > 0) MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), length);
  return wide;
}

std::string Utf8FromWide(const std::wstring& wide) {
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
  if (length > 0)
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), length, nullptr, nullptr);
  return utf8;
}

// A stream buffer that hands UTF-8 text to WriteConsoleW. The command line
// flushes whole texts, so no character is cut between two writes.
class ConsoleBuffer : public std::streambuf {
 public:
  explicit ConsoleBuffer(HANDLE console) : console_(console) {}

 protected:
  int_type overflow(int_type c) override {
    if (!traits_type::eq_int_type(c, traits_type::eof())) pending_.push_back(traits_type::to_char_type(c));
    return traits_type::not_eof(c);
  }
  std::streamsize xsputn(const char* text, std::streamsize count) override {
    pending_.append(text, static_cast<std::size_t>(count));
    return count;
  }
  int sync() override {
    const std::wstring wide = WideFrom(CP_UTF8, pending_);
    pending_.clear();
    DWORD written = 0;
    return wide.empty() || WriteConsoleW(console_, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr)
               ? 0
               : -1;
  }

 private:
  HANDLE console_;
  std::string pending_;
};

#else

// The charset of the user's locale, read once: LC_CTYPE goes back to "C",
// so that nothing else in the process reads bytes by the locale.
bool LocaleIsUtf8() {
  static const bool utf8 = [] {
    const std::string before = std::setlocale(LC_CTYPE, nullptr);
    std::setlocale(LC_CTYPE, "");
    const bool isUtf8 = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
    std::setlocale(LC_CTYPE, before.c_str());
    return isUtf8;
  }();
  return utf8;
}

#endif

}  // namespace

#ifdef _WIN32

bool IsTerminal(std::FILE* stream) {
  DWORD mode = 0;
  return GetConsoleMode(HandleOf(stream), &mode) != 0;
}

bool ShareDestination(std::FILE* one, std::FILE* other) {
  BY_HANDLE_FILE_INFORMATION first{}, second{};
  if (IsTerminal(one) && IsTerminal(other)) return true;
  return GetFileInformationByHandle(HandleOf(one), &first) && GetFileInformationByHandle(HandleOf(other), &second) &&
         first.dwVolumeSerialNumber == second.dwVolumeSerialNumber && first.nFileIndexHigh == second.nFileIndexHigh &&
         first.nFileIndexLow == second.nFileIndexLow;
}

PathDisplay PathDisplayOf(std::FILE* stream) {
  return IsTerminal(stream) ? PathDisplay::AnsiAsUtf8 : PathDisplay::Bytes;
}

std::string ShownPath(const std::string& path, PathDisplay display) {
  if (display == PathDisplay::AnsiAsUtf8) return Utf8FromWide(WideFrom(CP_ACP, path));
  if (display == PathDisplay::GbkAsUtf8 && !IsUtf8(path)) return Utf8FromGbk(path).value_or(path);
  return path;
}

void WriteConsolesAsUnicode() {
  // Never deleted: the streams flush once more as the process ends.
  if (IsTerminal(stdout)) std::cout.rdbuf(new ConsoleBuffer(HandleOf(stdout)));
  if (IsTerminal(stderr)) std::cerr.rdbuf(new ConsoleBuffer(HandleOf(stderr)));
}

std::optional<std::string> ReadAnswerLine() {
  // A Ctrl-C at the prompt ends the read, and the stop request is set by then.
  std::string line;
  if (!std::getline(std::cin, line) || StopRequested()) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

#else

bool IsTerminal(std::FILE* stream) { return isatty(fileno(stream)) != 0; }

bool ShareDestination(std::FILE* one, std::FILE* other) {
  struct stat first {}, second {};
  return fstat(fileno(one), &first) == 0 && fstat(fileno(other), &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

PathDisplay PathDisplayOf(std::FILE*) { return LocaleIsUtf8() ? PathDisplay::GbkAsUtf8 : PathDisplay::Bytes; }

std::string ShownPath(const std::string& path, PathDisplay display) {
  if (display == PathDisplay::GbkAsUtf8 && !IsUtf8(path)) return Utf8FromGbk(path).value_or(path);
  return path;
}

void WriteConsolesAsUnicode() {}

std::optional<std::string> ReadAnswerLine() {
  // Byte by byte from the descriptor, with no buffer that poll cannot see,
  // and in short waits, so that a stop requested just before the read still
  // ends it.
  std::string line;
  for (;;) {
    if (StopRequested()) return std::nullopt;
    pollfd input{STDIN_FILENO, POLLIN, 0};
    const int ready = poll(&input, 1, 100);
    if (ready == 0 || (ready < 0 && errno == EINTR)) continue;
    char byte = 0;
    const ssize_t count = ready < 0 ? -1 : read(STDIN_FILENO, &byte, 1);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) {
      if (line.empty()) return std::nullopt;
      break;  // the last line, without a line end
    }
    if (byte == '\n') break;
    line.push_back(byte);
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

#endif

std::string ShownText(const std::string& text, PathDisplay display) {
  if (display == PathDisplay::Bytes || IsUtf8(text)) return text;
  std::string shown;
  for (const TextStretch& stretch : Stretches(text))
    shown += stretch.utf8 ? std::string(stretch.bytes) : ShownPath(std::string(stretch.bytes), display);
  return shown;
}

}  // namespace carteloom
