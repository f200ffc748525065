#pragma once
// Between the byte texts of the core (UTF-8 messages, paths as the file
// system's bytes) and the QStrings of the window.
#include <QString>
#include <string>

namespace carteloom {

// A message of a batch for display: UTF-8, except for the path bytes inside
// it, which are in the local 8-bit encoding of file names.
QString ShownText(const std::string& text);

// A path as the core takes it: native separators, file-name bytes.
std::string PathBytes(const QString& path);
// A path of the core for display.
QString PathText(const std::string& bytes);

}  // namespace carteloom
