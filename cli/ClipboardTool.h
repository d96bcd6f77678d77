#pragma once

#include <string>
#include <vector>

/// The clipboard as reached from a terminal: through wl-copy and wl-paste
/// on a Wayland session, otherwise through xclip. Secrets go to the tool
/// on its standard input, never on its command line, and every tool is
/// started directly (posix_spawnp), never through a shell.
class CClipboardTool final {
  public:
    /// wl-copy when WAYLAND_DISPLAY is set and wl-copy is on the PATH,
    /// otherwise xclip when it is on the PATH, otherwise none.
    static CClipboardTool Find();

    bool IsFound() const { return !m_strName.empty(); }
    /// "wl-copy" or "xclip".
    const std::string& Name() const { return m_strName; }

    /// Puts `text` on the clipboard; false when the tool failed.
    bool Copy(const std::string& text) const;
    /// Starts a detached process that waits `seconds` and then empties the
    /// clipboard, but only while it still holds `text`.
    bool ClearLater(const std::string& text, int seconds) const;

  private:
    bool ReadClipboard(std::string& text) const;
    bool Clear() const;

    std::string m_strName;
    std::vector<std::string> m_copyArgs;       // copy from standard input
    std::vector<std::string> m_plainCopyArgs;  // the same without marking the text secret
    std::vector<std::string> m_pasteArgs;      // write the clipboard to standard output
    std::vector<std::string> m_clearArgs;      // empty the clipboard
};
