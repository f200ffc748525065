#include "app/source_list.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <algorithm>
#include <functional>

#include "app/open_file_answer.h"
#include "app/text_bytes.h"

namespace carteloom {
namespace {

// Local files among the dragged items; folders and remote items are not sources.
QStringList DraggedFiles(const QMimeData* data) {
  QStringList files;
  if (data == nullptr || !data->hasUrls()) return files;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile() && !QFileInfo(url.toLocalFile()).isDir()) files << url.toLocalFile();
  }
  return files;
}

}  // namespace

SourceList::SourceList(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSortingEnabled(false);
  setDragDropMode(QAbstractItemView::DropOnly);
}

std::string SourceList::EntryAt(std::size_t index) const {
  return index < entries_.size() ? entries_[index] : std::string();
}

void SourceList::Append(const std::string& entry) {
  entries_.push_back(entry);
  addItem(PathText(entry));
}

void SourceList::RemoveAt(std::size_t index) {
  if (index >= entries_.size()) return;
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
  delete takeItem(static_cast<int>(index));
}

bool SourceList::Holds(std::string_view entry) const {
  return std::find(entries_.begin(), entries_.end(), entry) != entries_.end();
}

void SourceList::dragEnterEvent(QDragEnterEvent* event) { dragMoveEvent(event); }

void SourceList::dragMoveEvent(QDragMoveEvent* event) {
  if (DraggedFiles(event->mimeData()).isEmpty()) {
    event->ignore();
  } else {
    event->acceptProposedAction();
  }
}

void SourceList::dropEvent(QDropEvent* event) {
  const QStringList files = DraggedFiles(event->mimeData());
  if (files.isEmpty()) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
  emit filesDropped(files);
}

void AddSourceFiles(SourceList& list, std::string_view answer,
                    const std::function<void(const std::string& duplicate)>& reportDuplicate) {
  for (const std::string& candidate : ChosenFiles(answer)) {
    if (list.Holds(candidate)) {
      reportDuplicate(candidate);
    } else {
      list.Append(candidate);
    }
  }
}

void RemoveSelectedEntries(SourceList& list) {
  // Rows noted first: a list moves its selection on when the selected row goes.
  QList<int> rows;
  for (const QModelIndex& index : list.selectionModel()->selectedRows()) rows << index.row();
  std::sort(rows.begin(), rows.end(), std::greater<int>());
  for (int row : rows) list.RemoveAt(static_cast<std::size_t>(row));
  list.clearSelection();
}

}  // namespace carteloom
