#pragma once

#include <QBasicTimer>
#include <QColor>
#include <QLabel>

class IShellOpener;

/// A text that works as a hyperlink: underlined, blue, purple once opened,
/// a pointing hand while the mouse is over it. A click hands its target
/// to the shell; for a while after a click the hover is ignored.
class CStaticLink final : public QLabel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CStaticLink)

  public:
    /// How long hover handling stays off after a click, in milliseconds.
    static constexpr int kCoolDownMs = 1000;
    /// A handler still running this long after the click has shown its
    /// target (a browser in the foreground): the link counts as opened.
    static constexpr int kHandlerGraceMs = 3000;

    /// `visited` is the owner's flag for this link (1: opened once); it
    /// outlives the link, so a link opened once stays purple in later boxes.
    CStaticLink(const QString& text, int& visited, IShellOpener& shell, QWidget* parent = nullptr);
    ~CStaticLink() override;

    /// The click: opens the target (the text, "mailto:" added to a mail
    /// address). The link turns visited once the handler has ended with
    /// success (or still runs after kHandlerGraceMs); a handler that cannot
    /// start or ends with an error leaves it unvisited, with a beep.
    void OnClicked();

    /// The target the last click opened; empty before the first click.
    const QString& Link() const { return m_link; }
    /// The colour the text is drawn in now.
    QColor TextColour() const;
    /// True while the handler of the last click is watched for its end.
    bool IsOpening() const { return m_handlerWatch.isActive(); }
    /// True while the mouse is over the link and hover handling is on.
    bool IsCaptured() const { return m_bCaptured; }

  protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

  private:
    void ApplyColour();
    void Release();
    /// Looks at the handler of the last click; marks the link once it opened.
    void WatchHandler();

    QColor m_colorUnvisited{0, 0, 255};
    QColor m_colorVisited{128, 0, 128};
    int* m_pVisited;
    bool m_bCaptured = false;
    bool m_bCoolDown = false;
    QString m_link;
    QBasicTimer m_coolDown;
    QBasicTimer m_handlerWatch;
    long m_handler = 0;  // the handler of the last click, while watched
    int m_handlerWatchedMs = 0;
    IShellOpener& m_shell;
};
