#include "app/source_list.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QUrl>
#include <algorithm>
#include <functional>

#include "app/list_tool_tips.h"
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

// Draws each entry as ElidedPath fits it into the entry's width.
class PathDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    if (option->rect.isEmpty()) return;  // measuring, not drawing
    // The style keeps this margin on either side of an item's text.
    const QStyle* style = option->widget != nullptr ? option->widget->style() : QApplication::style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, option, option->widget) + 1;
    option->text = ElidedPath(option->text, option->fontMetrics, option->rect.width() - 2 * margin);
  }
};

}  // namespace

QString ElidedPath(const QString& path, const QFontMetrics& metrics, int width) {
  if (metrics.horizontalAdvance(path) <= width) return path;
  const qsizetype nameStart = std::max(path.lastIndexOf('/'), path.lastIndexOf(QDir::separator())) + 1;
  const QString name = path.mid(nameStart);
  const int nameWidth = metrics.horizontalAdvance(name);
  if (nameWidth >= width) return metrics.elidedText(name, Qt::ElideMiddle, width);
  return metrics.elidedText(path.left(nameStart), Qt::ElideLeft, width - nameWidth) + name;
}

SourceList::SourceList(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSortingEnabled(false);
  setDragDropMode(QAbstractItemView::DropOnly);
  // Entries fit the width, so no scroll bar hides their ends.
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setTextElideMode(Qt::ElideLeft);
  setItemDelegate(new PathDelegate(this));
  KeepToolTipsWithin(*this);
}

std::string SourceList::EntryAt(std::size_t index) const {
  return index < entries_.size() ? entries_[index] : std::string();
}

void SourceList::Append(const std::string& entry) {
  entries_.push_back(entry);
  addItem(PathText(entry));
  item(count() - 1)->setToolTip(PathText(entry));
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

void SourceList::paintEvent(QPaintEvent* event) {
  QListWidget::paintEvent(event);
  if (count() > 0 || !hasFocus()) return;
  QPainter painter(viewport());
  QStyleOptionFocusRect focus;
  focus.initFrom(this);
  focus.rect = viewport()->rect().adjusted(1, 1, -1, -1);
  focus.state |= QStyle::State_KeyboardFocusChange;  // some styles draw it for the keyboard's focus only
  focus.backgroundColor = palette().color(QPalette::Base);
  style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
}

void SourceList::focusInEvent(QFocusEvent* event) {
  QListWidget::focusInEvent(event);
  viewport()->update();
}

void SourceList::focusOutEvent(QFocusEvent* event) {
  QListWidget::focusOutEvent(event);
  viewport()->update();
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
