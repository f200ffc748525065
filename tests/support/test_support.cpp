#include "support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace carteloom::testing {

ScratchFolder::ScratchFolder() {
  std::random_device random;
  path_ = std::filesystem::temp_directory_path() /
          ("carteloom-test-" + std::to_string(random()) + "-" + std::to_string(random()));
  std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ec;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

std::vector<std::string> ScratchFolder::Names() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(path_)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string CrLf(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
    lines.push_back(text.substr(at, end - at));
  return lines;
}

int RunCommand(const std::string& command) {
  int status = std::system(command.c_str());
#ifdef _WIN32
  return status;
#else
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

Ran Run(const std::string& command, const std::string& input) {
  ScratchFolder logs;
  WriteBytes(logs / "in", input);
  const int status = RunCommand("(" + command + ") <'" + (logs / "in") + "' >'" + (logs / "out") + "' 2>'" + (logs / "err") + "'");
  return {status, ReadBytes(logs / "out"), ReadBytes(logs / "err")};
}

std::string GeoJson(const std::string& srs, const std::vector<std::pair<std::string, std::string>>& features) {
  std::string text = R"({"type":"FeatureCollection",)";
  if (!srs.empty()) text += R"("crs":{"type":"name","properties":{"name":")" + srs + R"("}},)";
  text += R"("features":[)";
  for (const auto& [properties, geometry] : features)
    text += R"({"type":"Feature","properties":{)" + properties + R"(},"geometry":)" + geometry + "},";
  return text.substr(0, text.size() - 1) + "]}";
}

bool HaveGdal() {
#ifdef _WIN32
  return false;
#else
  return RunCommand("ogrinfo --version >/dev/null 2>&1") == 0;
#endif
}

std::size_t OgrFeatureCount(const std::string& path, std::string& errors) {
  std::istringstream all(Run("ogrinfo -ro -al '" + path + "' 2>&1").out);
  std::size_t features = 0;
  for (std::string line; std::getline(all, line);) {
    if (line.rfind("ERROR", 0) == 0) errors += line + "\n";
    if (line.rfind("OGRFeature(", 0) == 0) ++features;
  }
  return features;
}

namespace {
// The next scripted answer; without one the box was not expected.
template <typename Answer>
Answer Next(std::deque<Answer>& answers, Answer none, const std::string& box) {
  if (answers.empty()) {
    ADD_FAILURE() << "unexpected " << box;
    return none;
  }
  Answer answer = answers.front();
  answers.pop_front();
  return answer;
}
}  // namespace

OverwriteAnswer ScriptedUi::AskOverwrite(const std::string& text, const std::string& title) {
  shown.push_back({"question", text, title, {}});
  return Next(overwriteAnswers, OverwriteAnswer::Skip, "question: " + text);
}

std::optional<std::string> ScriptedUi::AskText(const std::string& prompt, const std::string& title,
                                               const std::string& proposal) {
  shown.push_back({"input", prompt, title, {}});
  proposals.push_back(proposal);
  return Next(textAnswers, std::optional<std::string>(), "input box, proposal " + proposal);
}

void ExpectProgressByBytes(const ScriptedUi& ui) {
  ASSERT_GE(ui.progress.size(), 2u);
  const std::uint64_t total = ui.progress.back().second;
  EXPECT_GT(total, 0u);
  for (std::size_t i = 0; i + 1 < ui.progress.size(); ++i) {
    EXPECT_EQ(ui.progress[i].second, total);
    EXPECT_LE(ui.progress[i].first, total);
    EXPECT_GE(ui.progress[i].first, i > 0 ? ui.progress[i - 1].first : 0) << i;
  }
  EXPECT_EQ(ui.progress[ui.progress.size() - 2].first, total);
  EXPECT_EQ(ui.progress.back().first, 0u);
}

}  // namespace carteloom::testing
