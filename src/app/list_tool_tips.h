#pragma once
// Tooltips that keep to their list's column of the window: a tip wider than
// the list is broken into lines and starts at the list's left edge, so it
// never covers the buttons beside the list (a click there would only close
// the tip). Items show their own tooltip, elsewhere the list's.
#include <QFontMetrics>
#include <QString>

class QAbstractItemView;

namespace carteloom {

void KeepToolTipsWithin(QAbstractItemView& list);

// The text broken into lines no wider than `width`: after a path separator
// where there is one in the line, else where the line is full.
QString LinesWithin(const QString& text, const QFontMetrics& metrics, int width);

}  // namespace carteloom
