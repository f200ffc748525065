#include "app/list_tool_tips.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QStyle>
#include <QToolTip>

namespace carteloom {
namespace {

// Room kept clear beside a tip's text: its margins and the few pixels Qt
// sets a tip off to the right of the point it is shown at.
constexpr int kTipSlack = 8;

class ToolTipsWithin : public QObject {
 public:
  explicit ToolTipsWithin(QAbstractItemView& list) : QObject(&list), list_(list) {
    list.installEventFilter(this);
    list.viewport()->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::ToolTip) return false;
    auto* widget = static_cast<QWidget*>(watched);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex item = widget == list_.viewport() ? list_.indexAt(help->pos()) : QModelIndex();
    QString text = item.data(Qt::ToolTipRole).toString();
    if (text.isEmpty()) text = list_.toolTip();
    if (text.isEmpty()) return false;
    const QFontMetrics metrics(QToolTip::font());
    const int margins = 2 * (1 + list_.style()->pixelMetric(QStyle::PM_ToolTipLabelFrameWidth)) + kTipSlack;
    const QPoint at(list_.mapToGlobal(QPoint(0, 0)).x(), help->globalPos().y());
    QToolTip::showText(at, LinesWithin(text, metrics, list_.width() - margins), widget,
                       item.isValid() ? list_.visualRect(item) : widget->rect());
    return true;
  }

 private:
  QAbstractItemView& list_;
};

}  // namespace

void KeepToolTipsWithin(QAbstractItemView& list) { new ToolTipsWithin(list); }

QString LinesWithin(const QString& text, const QFontMetrics& metrics, int width) {
  QStringList lines;
  QString line;
  qsizetype breakAt = 0;  // just after the line's last separator
  for (const QChar c : text) {
    while (!line.isEmpty() && !c.isLowSurrogate() && metrics.horizontalAdvance(line + c) > width) {
      const qsizetype cut = breakAt > 0 ? breakAt : line.size();
      lines << line.left(cut);
      line.remove(0, cut);
      breakAt = 0;
    }
    line += c;
    if (c == '/' || c == '\\') breakAt = line.size();
  }
  lines << line;
  return lines.join('\n');
}

}  // namespace carteloom
