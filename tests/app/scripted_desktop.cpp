#include "scripted_desktop.h"

#include <QtTest>

namespace carteloom::testing {

Desktop ScriptedDesktop::Make() {
  Desktop desktop;
  desktop.message = [this](QWidget*, const QString& text, const QString& title) {
    shown.push_back({"message", text, title});
    if (whileMessageShown) whileMessageShown();
  };
  desktop.question = [this](QWidget*, const QString& text, const QString& title) {
    shown.push_back({"question", text, title});
    if (questionAnswers.empty()) {
      qWarning() << "unexpected question:" << text;
      return false;
    }
    const bool ok = questionAnswers.front();
    questionAnswers.pop_front();
    return ok;
  };
  desktop.input = [this](QWidget*, const QString& prompt, const QString& title, const QString& proposal) {
    shown.push_back({"input", prompt + "|" + proposal, title});
    if (inputAnswers.empty()) {
      qWarning() << "unexpected input box:" << prompt;
      return QString();
    }
    const QString answer = inputAnswers.front();
    inputAnswers.pop_front();
    return answer;
  };
  desktop.openFiles = [this](QWidget*, const OpenFileRequest& request) -> std::optional<std::string> {
    requests.push_back(request);
    if (openAnswers.empty()) return std::nullopt;
    std::optional<std::string> answer = openAnswers.front();
    openAnswers.pop_front();
    return answer;
  };
  desktop.endProgram = [this] { ++endRequests; };
  return desktop;
}

QStringList ScriptedDesktop::Texts(const QString& kind) const {
  QStringList texts;
  for (const ShownDialog& dialog : shown) {
    if (dialog.kind == kind) texts << dialog.text;
  }
  return texts;
}

}  // namespace carteloom::testing
