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
// How often the handler of a click is looked at.
constexpr int kHandlerPollMs = 50;

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

CStaticLink::~CStaticLink() {
    if (m_handlerWatch.isActive()) m_shell.Forget(m_handler);
}

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

    // The shell hands the target over and returns at once; whether the
    // handler could open it shows only when it ends.
    if (m_handlerWatch.isActive()) m_shell.Forget(m_handler);
    m_handlerWatch.stop();
    m_handler = m_shell.Start(ToBytes(m_link));
    if (m_handler == 0) {
        QApplication::beep();
        return;
    }
    m_handlerWatchedMs = 0;
    m_handlerWatch.start(kHandlerPollMs, this);
}

void CStaticLink::WatchHandler() {
    const HandlerOutcome outcome = m_shell.OutcomeOf(m_handler);
    m_handlerWatchedMs += kHandlerPollMs;
    if (outcome == HandlerOutcome::Running && m_handlerWatchedMs < kHandlerGraceMs) return;
    m_handlerWatch.stop();
    if (outcome == HandlerOutcome::Running) m_shell.Forget(m_handler);
    if (outcome == HandlerOutcome::Failed) {
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
    if (event->timerId() == m_handlerWatch.timerId()) {
        WatchHandler();
        return;
    }
    if (event->timerId() != m_coolDown.timerId()) {
        QLabel::timerEvent(event);
        return;
    }
    m_coolDown.stop();
    m_bCoolDown = false;
}
