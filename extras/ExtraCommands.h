#pragma once

#include <array>

#include "contract/KeynestContext.h"


/// The Twofish tester and the About box. Lives for the whole run, so that
/// the About box's links remember being opened from one box to the next.
class CExtraCommands final {
  public:
    explicit CExtraCommands(KeynestContext& context);
    ~CExtraCommands();
    CExtraCommands(const CExtraCommands&) = delete;
    CExtraCommands& operator=(const CExtraCommands&) = delete;

    /// Test TwoFish: the tester, opened with the data form used last time.
    void OnTestTwofish();
    /// About: the About box, then the cipher's self-test.
    void OnAppAbout();

  private:
    KeynestContext& m_context;
    std::array<int, 2> m_visited{0, 0};
};
