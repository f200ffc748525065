#pragma once
// The frames' look: the caption set in from the frame's edge, as far as the
// controls inside it, and the frame's line through the middle of the
// caption, so that the controls sit inside the line whatever the font's
// height (some styles draw the line below the caption, across the controls).
#include <QProxyStyle>

namespace carteloom {

class FrameStyle : public QProxyStyle {
 public:
  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                       const QWidget* widget) const override;
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                          const QWidget* widget) const override;

  // The one instance, owned by the application, so that it outlives every frame.
  static QStyle* Instance();
};

}  // namespace carteloom
