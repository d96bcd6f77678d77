#pragma once

#include <QPointer>
#include <QTimer>
#include <chrono>
#include <functional>
#include <string>

class QMimeData;

/// The system clipboard, as plain text.
class IClipboard {
public:
    /// How long a copied password may stay on the clipboard; zero: until
    /// something replaces it. Asked at every copy, so a changed preference
    /// holds from the next copy on.
    using ClearDelay = std::function<std::chrono::milliseconds()>;

    virtual ~IClipboard() = default;
    /// Puts exactly `text` (UTF-8 bytes) on the clipboard, an empty text
    /// included, marked as a secret that clipboard managers do not keep.
    virtual void SetText(const std::string& text) = 0;
    /// Empties the clipboard.
    virtual void Clear() = 0;
    /// Empties the clipboard only while it still holds the text SetText put
    /// there; a text copied since, here or in another program, stays.
    /// A clipboard that cannot tell leaves everything alone.
    virtual void ClearOwnText() {}
    /// Clears the copied text after `delay`, through ClearOwnText.
    virtual void SetClearDelay(ClearDelay /*delay*/) {}
};

/// The clipboard through QClipboard.
class CQtClipboard final : public IClipboard {
public:
    CQtClipboard();
    /// A password must not outlive the program on the clipboard, where a
    /// clipboard manager would take it over at exit.
    ~CQtClipboard() override;
    CQtClipboard(const CQtClipboard&) = delete;
    CQtClipboard& operator=(const CQtClipboard&) = delete;

    void SetText(const std::string& text) override;
    void Clear() override;
    void ClearOwnText() override;
    void SetClearDelay(ClearDelay delay) override { m_delay = std::move(delay); }

    /// True while the clipboard holds the text this object put there last.
    bool HoldsOwnText() const;

private:
    QPointer<QMimeData> m_data;  // null once the clipboard has dropped it
    bool m_ownershipKnown = false;  // the platform reports clipboard ownership
    ClearDelay m_delay;
    QTimer m_timer;
};
