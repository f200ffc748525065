#pragma once
// What the command line needs of the terminal it runs in: whether a stream
// is one, how a path's bytes are shown on it, the answers typed at a prompt.
// Texts are UTF-8; paths are the bytes the user gave.
#include <cstdio>
#include <optional>
#include <string>

namespace carteloom {

enum class PathDisplay {
  Bytes,       // as given: a file, a pipe, a terminal of another charset
  GbkAsUtf8,   // a UTF-8 terminal: a path that is GBK and not UTF-8 is decoded
  AnsiAsUtf8,  // a Windows console: paths are in the ANSI code page
};

bool IsTerminal(std::FILE* stream);
// True when both streams end up in one place (a terminal, a pipe, a file),
// so that a line left open on one would run into the next of the other.
bool ShareDestination(std::FILE* one, std::FILE* other);

// How paths are shown on stdout or stderr. On POSIX it reads the charset of
// the user's locale (LC_CTYPE is left as it was, "C").
PathDisplay PathDisplayOf(std::FILE* stream);

std::string ShownPath(const std::string& path, PathDisplay display);
// A UTF-8 text that may hold the bytes of a path (the overwrite question):
// the stretches that are not UTF-8 (Stretches) are shown as ShownPath shows a path.
std::string ShownText(const std::string& text, PathDisplay display);

// On Windows, std::cout and std::cerr write to a console as Unicode
// (WriteConsoleW), so that Chinese texts show whatever the console's code
// page; redirected, they go on writing bytes. Nothing elsewhere.
void WriteConsolesAsUnicode();

// One line typed at a prompt, without its line end; nothing at the end of
// input, or once a stop was requested (the wait returns then).
std::optional<std::string> ReadAnswerLine();

}  // namespace carteloom
