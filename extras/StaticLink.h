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

    /// `visited` is the owner's flag for this link (1: opened once); it
    /// outlives the link, so a link opened once stays purple in later boxes.
    CStaticLink(const QString& text, int& visited, IShellOpener& shell, QWidget* parent = nullptr);
    ~CStaticLink() override;

    /// The click: opens the target (the text, "mailto:" added to a mail
    /// address) and marks the link visited when the shell could open it.
    void OnClicked();

    /// The target the last click opened; empty before the first click.
    const QString& Link() const { return m_link; }
    /// The colour the text is drawn in now.
    QColor TextColour() const;
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

    QColor m_colorUnvisited{0, 0, 255};
    QColor m_colorVisited{128, 0, 128};
    int* m_pVisited;
    bool m_bCaptured = false;
    bool m_bCoolDown = false;
    QString m_link;
    QBasicTimer m_coolDown;
    IShellOpener& m_shell;
};
