// The main window's geometry: taken from the store and tracked.

#include <gtest/gtest.h>


#include "FakeServices.h"
#include "app/MainFrame.h"
#include "TestSupport.h"

namespace {

class MainFrameTest : public ::testing::Test, protected keynest_test::TempStore {
  protected:
    keynest_test::FakeHelpViewer m_help;
};

TEST_F(MainFrameTest, GeometryComesFromTheStoreAndIsTrackedUnlessMinimised) {
    // Out of range: the centred default, written back.
    m_store.SetInt("Screen", "cx", 0);
    m_store.SetInt("Screen", "cy", 300);
    {
        CMainFrame frame(m_store, m_help);
        EXPECT_GT(m_store.GetInt("Screen", "cx", 0), 0);
        EXPECT_EQ(frame.width(), m_store.GetInt("Screen", "cx", 0));
    }
    m_store.SetInt("Screen", "x", 30);
    m_store.SetInt("Screen", "y", 40);
    m_store.SetInt("Screen", "cx", 500);
    m_store.SetInt("Screen", "cy", 300);
    CMainFrame frame(m_store, m_help);
    EXPECT_EQ(frame.size(), QSize(500, 300));
    frame.show();
    frame.resize(520, 310);
    EXPECT_EQ(m_store.GetInt("Screen", "cx", 0), 520);
    EXPECT_EQ(m_store.GetInt("Screen", "cy", 0), 310);
    frame.setWindowState(Qt::WindowMinimized);
    frame.resize(100, 100);
    EXPECT_EQ(m_store.GetInt("Screen", "cx", 0), 520);
}

}  // namespace
