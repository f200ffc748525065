#pragma once
// The answer of the open-file dialog, in the form of the platform's common
// dialog: one chosen file as its full path followed by two NULs; several as
// their folder, a NUL, each name followed by a NUL, and one more NUL.
#include <string>
#include <string_view>
#include <vector>

namespace carteloom {

// The full paths named by an answer, in the dialog's order. Blanks around the
// answer are ignored; an answer without a NUL names nothing. Every name of a
// multiple choice is taken, however many there are.
std::vector<std::string> ChosenFiles(std::string_view answer);

// folder and name with exactly one separator between them, also when the
// folder is a root that already ends in one.
std::string JoinedPath(std::string_view folder, std::string_view name);

}  // namespace carteloom
