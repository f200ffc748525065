#pragma once
// A desktop whose dialogs answer from a script and record what they showed.
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/desktop.h"

namespace carteloom::testing {

struct ShownDialog {
  QString kind;  // "message", "question", "input"
  QString text;
  QString title;
};

class ScriptedDesktop {
 public:
  // The desktop to hand to the window; it refers to this object.
  Desktop Make();

  std::deque<std::optional<std::string>> openAnswers;  // nullopt: the dialog was cancelled
  std::deque<bool> questionAnswers;                    // true: OK
  std::deque<QString> inputAnswers;
  std::vector<OpenFileRequest> requests;
  std::vector<ShownDialog> shown;
  int endRequests = 0;
  // Runs while a message box is up, as a user could act then.
  std::function<void()> whileMessageShown;
  QStringList Texts(const QString& kind) const;
};

}  // namespace carteloom::testing
