#pragma once

#include <QProxyStyle>

/// The running style with a keyboard focus that is easy to see: a solid
/// two-pixel ring, black or white, whichever stands out more from the
/// colour behind it (at least 4.5:1), where the style would draw its own
/// faint focus rectangle, only the outline the default button also has, or
/// nothing around a focused text box.
class CFocusRingStyle final : public QProxyStyle {
    Q_OBJECT

  public:
    /// Wraps `base` (owned from now on); nullptr wraps the default style.
    explicit CFocusRingStyle(QStyle* base = nullptr);

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;

    /// Black or white, whichever contrasts more with `background`.
    static QColor RingColour(const QColor& background);
};

/// Puts the focus ring on the application's style, whichever it is.
void UseFocusRingStyle();
