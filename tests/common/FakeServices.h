#pragma once

// Fakes for the program's seams: prompts, clipboard, shell, help and the
// random source. Tests script answers and read back what was asked.

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "platform/Clipboard.h"
#include "FakeRandomSource.h"
#include "platform/HelpViewer.h"
#include "generator/PasswordGenerator.h"
#include "platform/Prompter.h"
#include "contract/Services.h"
#include "platform/ShellOpener.h"

/// Lets GoogleTest print a QString as text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace keynest_test {

/// Records every message box and answers from a script (OK, or No for a
/// question, when the script is empty).
class FakePrompter final : public IPrompter {
  public:
    int Show(const QString& text, PromptButtons buttons, PromptIcon icon) override {
        if (onShow) onShow();
        texts.push_back(text);
        icons.push_back(icon);
        if (!answers.empty()) {
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return buttons == PromptButtons::YesNo ? kPromptNo : kPromptOk;
    }
    QStringList texts;
    std::vector<PromptIcon> icons;
    std::deque<int> answers;
    std::function<void()> onShow;  ///< runs while each box is "open"
};

class FakeClipboard final : public IClipboard {
  public:
    void SetText(const std::string& value) override {
        text = value;
        ++copies;
    }
    void Clear() override {
        text.clear();
        cleared = true;
    }
    void SetClearDelay(ClearDelay delay) override { clearDelay = std::move(delay); }
    std::string text = "<untouched>";
    ClearDelay clearDelay;
    int copies = 0;
    bool cleared = false;
};

/// Records the URLs it is asked to open, from any thread, and answers
/// `opens`; a started handler ends as `ends`.
class FakeShellOpener final : public IShellOpener {
  public:
    bool Open(const std::string& url) override {
        std::lock_guard lock(m_mutex);
        m_urls.push_back(url);
        return opens;
    }
    long Start(const std::string& url) override { return Open(url) ? 1 : 0; }
    HandlerOutcome OutcomeOf(long) override { return ends; }
    void Forget(long) override {}
    bool opens = true;
    HandlerOutcome ends = HandlerOutcome::Succeeded;
    std::vector<std::string> Urls() {
        std::lock_guard lock(m_mutex);
        return m_urls;
    }

  private:
    std::mutex m_mutex;
    std::vector<std::string> m_urls;
};

class FakeHelpViewer final : public IHelpViewer {
  public:
    void ShowHelp(int context) override { contexts.push_back(context); }
    std::vector<int> contexts;
};

/// All fakes together, with a Services view of them.
struct FakeServices {
    FakePrompter prompter;
    FakeClipboard clipboard;
    FakeShellOpener shell;
    FakeHelpViewer help;
    FakeRandomSource random;

    Services AsServices() { return Services{prompter, clipboard, shell, help, random}; }
};

}  // namespace keynest_test
