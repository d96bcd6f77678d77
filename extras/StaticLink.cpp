#include "extras/StaticLink.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QTimerEvent>

#include "extras/AboutTexts.h"
#include "platform/ShellOpener.h"
#include "platform/TextBytes.h"

namespace {

const QString kMailScheme = QStringLiteral("mailto:");

}  // namespace

CStaticLink::CStaticLink(const QString& text, int& visited, IShellOpener& shell, QWidget* parent)
    : QLabel(text, parent), m_pVisited(&visited), m_shell(shell) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignCenter);
    setMouseTracking(true);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    ApplyColour();
}

CStaticLink::~CStaticLink() = default;

QColor CStaticLink::TextColour() const { return palette().color(QPalette::WindowText); }

void CStaticLink::ApplyColour() {
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, *m_pVisited == 1 ? m_colorVisited : m_colorUnvisited);
    setPalette(colours);
}

void CStaticLink::OnClicked() {
    if (m_link.isEmpty()) m_link = text();
    if (m_link.contains(QLatin1String(AboutTexts::kMailMarker)) &&
        !m_link.startsWith(kMailScheme)) {
        m_link.prepend(kMailScheme);
    }
    m_bCaptured = false;
    m_bCoolDown = true;
    m_coolDown.start(kCoolDownMs, this);

    // The shell hands the target over and returns at once.
    if (!m_shell.Open(ToBytes(m_link))) {
        QApplication::beep();
        return;
    }
    *m_pVisited = 1;
    setCursor(Qt::ArrowCursor);
    ApplyColour();
}

void CStaticLink::mouseMoveEvent(QMouseEvent* event) {
    QLabel::mouseMoveEvent(event);
    if (m_bCoolDown) return;
    const bool inside = rect().contains(event->position().toPoint());
    if (inside && !m_bCaptured) {
        m_bCaptured = true;
        setCursor(Qt::PointingHandCursor);
    } else if (!inside && m_bCaptured) {
        Release();
    }
}

void CStaticLink::leaveEvent(QEvent* event) {
    QLabel::leaveEvent(event);
    if (!m_bCoolDown && m_bCaptured) Release();
}

void CStaticLink::Release() {
    m_bCaptured = false;
    setCursor(Qt::ArrowCursor);
}

void CStaticLink::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        OnClicked();
    }
}

void CStaticLink::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_coolDown.timerId()) {
        QLabel::timerEvent(event);
        return;
    }
    m_coolDown.stop();
    m_bCoolDown = false;
}
