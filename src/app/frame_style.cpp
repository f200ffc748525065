#include "app/frame_style.h"

#include <qdrawutil.h>

#include <QCoreApplication>
#include <QPainter>
#include <QStyleOptionGroupBox>

namespace carteloom {
namespace {

constexpr int kCaptionIndent = 8;   // pixels: the controls in a frame start 120 twips in
constexpr int kCaptionPadding = 2;  // room between the caption and the line on either side

}  // namespace

QRect FrameStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                                 const QWidget* widget) const {
  const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
  if (control != CC_GroupBox || box == nullptr) return QProxyStyle::subControlRect(control, option, part, widget);
  const int captionHeight = box->fontMetrics.height();
  switch (part) {
    case SC_GroupBoxFrame:
      return box->rect.adjusted(0, captionHeight / 2, 0, 0);
    case SC_GroupBoxLabel:
      return {box->rect.left() + kCaptionIndent - kCaptionPadding, box->rect.top(),
              box->fontMetrics.horizontalAdvance(box->text) + 2 * kCaptionPadding, captionHeight};
    case SC_GroupBoxContents:
      return box->rect.adjusted(1, captionHeight, -1, -1);
    default:
      return QProxyStyle::subControlRect(control, option, part, widget);
  }
}

void FrameStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                                    const QWidget* widget) const {
  const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
  if (control != CC_GroupBox || box == nullptr) {
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    return;
  }
  const QRect caption = subControlRect(control, option, SC_GroupBoxLabel, widget);
  // An etched line, drawn here: some styles' frame primitives move the line
  // below the caption themselves.
  painter->save();
  painter->setClipRegion(QRegion(box->rect).subtracted(caption));
  qDrawShadeRect(painter, subControlRect(control, option, SC_GroupBoxFrame, widget), box->palette, true, 1, 0);
  painter->restore();
  drawItemText(painter, caption, Qt::AlignCenter, box->palette, (box->state & State_Enabled) != 0, box->text,
               QPalette::WindowText);
}

QStyle* FrameStyle::Instance() {
  static QStyle* const style = [] {
    auto* made = new FrameStyle;
    made->setParent(QCoreApplication::instance());
    return made;
  }();
  return style;
}

}  // namespace carteloom
