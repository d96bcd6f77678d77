#include "platform/FocusRingStyle.h"

#include <QApplication>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>
#include <cmath>

namespace {

constexpr int kRingWidth = 2;

// Relative luminance as the non-text contrast rule defines it.
double Luminance(const QColor& colour) {
    const auto channel = [](double value) {
        return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF()) +
           0.0722 * channel(rgb.blueF());
}

void DrawRing(QPainter& painter, const QRect& rect, const QColor& background) {
    if (!rect.isValid()) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(CFocusRingStyle::RingColour(background), kRingWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    // The pen is centred on the path: one pixel in keeps both pixels inside.
    painter.drawRect(QRectF(rect).adjusted(1, 1, -1, -1));
    painter.restore();
}

}  // namespace

CFocusRingStyle::CFocusRingStyle(QStyle* base) : QProxyStyle(base) {}

QColor CFocusRingStyle::RingColour(const QColor& background) {
    // Black against L gives (L + 0.05) / 0.05, white gives 1.05 / (L + 0.05).
    const double luminance = Luminance(background);
    return (luminance + 0.05) / 0.05 >= 1.05 / (luminance + 0.05) ? QColor(Qt::black)
                                                                  : QColor(Qt::white);
}

void CFocusRingStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                    QPainter* painter, const QWidget* widget) const {
    if (option == nullptr || painter == nullptr) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    if (element == PE_FrameLineEdit) {
        // Some styles show a box's focus only by its blinking cursor.
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        if (option->state & State_HasFocus) {
            DrawRing(*painter, option->rect, option->palette.color(QPalette::Window));
        }
        return;
    }
    if (element != PE_FrameFocusRect) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    // Item views say what lies behind the row (the selection or the window).
    const auto* focus = qstyleoption_cast<const QStyleOptionFocusRect*>(option);
    const QColor background = focus && focus->backgroundColor.isValid()
                                  ? focus->backgroundColor
                                  : option->palette.color(QPalette::Window);
    DrawRing(*painter, option->rect, background);
}

void CFocusRingStyle::drawControl(ControlElement element, const QStyleOption* option,
                                  QPainter* painter, const QWidget* widget) const {
    QProxyStyle::drawControl(element, option, painter, widget);
    // Some styles draw a focused button like the default one: the ring
    // inside its frame tells the two apart.
    if (element == CE_PushButton && option != nullptr && painter != nullptr &&
        (option->state & State_HasFocus)) {
        const QRect inside = subElementRect(SE_PushButtonFocusRect, option, widget);
        DrawRing(*painter, inside, option->palette.color(QPalette::Button));
    }
}

void UseFocusRingStyle() {
    QStyle* current = QApplication::style();
    QStyle* base = current ? QStyleFactory::create(current->name()) : nullptr;
    QApplication::setStyle(new CFocusRingStyle(base));
}
