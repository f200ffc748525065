#pragma once
// A source list: the full paths of the files waiting for a batch, unique
// byte for byte, in the order they were added. Files dropped from a file
// manager are offered to the window as if chosen in the open-file dialog.
// An entry shows its file name in full and as much of the end of its folder
// as fits; its tooltip is the whole path.
#include <QFontMetrics>
#include <QListWidget>
#include <QStringList>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace carteloom {

class SourceList : public QListWidget {
  Q_OBJECT

 public:
  explicit SourceList(QWidget* parent = nullptr);

  std::size_t Count() const { return entries_.size(); }
  // The entry's bytes; empty text past the end, as a list box reads.
  std::string EntryAt(std::size_t index) const;
  void Append(const std::string& entry);
  void RemoveAt(std::size_t index);
  // True when an entry equals `entry`, compared exactly.
  bool Holds(std::string_view entry) const;

 signals:
  void filesDropped(const QStringList& paths);

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  // An empty list shows that it has the keyboard focus: it has no entry to mark.
  void paintEvent(QPaintEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  std::vector<std::string> entries_;  // the items' texts as bytes, in item order
};

// The path as it fits into `width` pixels: the file name in full and the
// start of the folder left out; the name's middle too when it alone is wider.
QString ElidedPath(const QString& path, const QFontMetrics& metrics, int width);

// Appends each file named by the dialog answer that the list does not hold
// yet; reports each one it holds, in its turn.
void AddSourceFiles(SourceList& list, std::string_view answer,
                    const std::function<void(const std::string& duplicate)>& reportDuplicate);

// Removes the selected entries; the others keep their order.
void RemoveSelectedEntries(SourceList& list);

}  // namespace carteloom
