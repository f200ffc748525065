#pragma once
// What the window asks of the desktop: its modal dialogs and the end of the
// program. The window takes them as functions, so tests can answer them.
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace carteloom {

struct OpenFileRequest {
  QString filterDescription;  // e.g. "MapInfo Mif文件 (*.mif)"
  QString filterPattern;      // patterns separated by ";"
  QString title;
  QString initialFolder;
  // Always a multiple choice, and names that match no file are accepted.
};

struct Desktop {
  // The boxes show over their owner, the window, and return once answered.
  // Meanwhile the window waits, unless it stays usable (windowUsable): then
  // its enabled controls still work, as a batch needs for 取消 and for
  // closing the window.
  // A box with an OK button only and no icon.
  std::function<void(QWidget* owner, bool windowUsable, const QString& text, const QString& title)> message;
  // A box with OK and Cancel, no icon; true for OK. Closing it is Cancel.
  std::function<bool(QWidget* owner, bool windowUsable, const QString& text, const QString& title)> question;
  // The input box: the typed text, empty when cancelled.
  std::function<QString(QWidget* owner, bool windowUsable, const QString& prompt, const QString& title,
                        const QString& proposal)>
      input;
  // The open-file dialog: its answer (see open_file_answer.h), nothing when cancelled.
  std::function<std::optional<std::string>(QWidget* owner, const OpenFileRequest& request)> openFiles;
  std::function<void()> endProgram;

  // Qt's own dialogs and the end of the application's event loop.
  static Desktop Platform();
};

// The text with a place to break the line after every path separator, and
// none after a hyphen, so that a box wraps a long path between folders, not
// in mid-name.
QString WrappableAtSeparators(QString text);

// The answer the open-file dialog gives for these chosen files (absolute
// paths, as Qt names them); empty when there are none.
std::string DialogAnswer(const QStringList& files);

}  // namespace carteloom
