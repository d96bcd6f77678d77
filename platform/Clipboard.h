#pragma once

#include <string>

/// The system clipboard, as plain text.
class IClipboard {
public:
    virtual ~IClipboard() = default;
    /// Puts exactly `text` (UTF-8 bytes) on the clipboard, an empty text included.
    virtual void SetText(const std::string& text) = 0;
    /// Empties the clipboard.
    virtual void Clear() = 0;
};

/// The clipboard through QClipboard.
class CQtClipboard final : public IClipboard {
public:
    void SetText(const std::string& text) override;
    void Clear() override;
};
