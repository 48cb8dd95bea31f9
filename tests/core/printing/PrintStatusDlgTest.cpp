#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "printing/CPrintStatusDlg.h"

namespace vx {
namespace {

/// Records what reaches the window; the owner starts enabled.
struct RecordingStatusWindow : PrintStatusWindow {
    bool created = false;
    bool createAnswer = true;
    bool ownerEnabled = true;
    int destroys = 0;
    int pumps = 0;
    std::vector<std::string> percents;
    std::vector<std::string> statuses;
    std::vector<std::pair<int32_t, int32_t>> ranges;
    std::vector<int32_t> positions;

    std::function<void()> cancel;
    bool Create(std::function<void()> onCancel) override {
        cancel = std::move(onCancel);
        return created = createAnswer;
    }
    void Destroy() override {
        created = false;
        ++destroys;
    }
    bool IsOwnerEnabled() const override { return ownerEnabled; }
    void EnableOwner(bool enable) override { ownerEnabled = enable; }
    void SetBarRange(int32_t lower, int32_t upper) override { ranges.push_back({lower, upper}); }
    void SetBarPos(int32_t p) override { positions.push_back(p); }
    void SetPercentText(const std::string& t) override { percents.push_back(t); }
    void SetStatusText(const std::string& t) override { statuses.push_back(t); }
    bool Pump() override {
        ++pumps;
        return true;
    }
};

TEST(PrintStatus, PercentFollowsThePositionWithinTheBounds) {
    RecordingStatusWindow window;
    CPrintStatusDlg status(window);
    ASSERT_EQ(status.Create(), 1);
    EXPECT_EQ(window.ranges, (std::vector<std::pair<int32_t, int32_t>>{{0, 10}}));
    status.SetPos(0);
    status.SetPos(5);
    status.SetPos(10);
    EXPECT_EQ(window.percents, (std::vector<std::string>{"0%", "50%", "100%"}));

    struct Case {
        int32_t position, lower, upper;
        const char* text;
    };
    const Case cases[] = {
        {0, 0, 10, "0%"},          {10, 0, 10, "100%"},  {3, 0, 7, "42%"},
        {20, 0, 10, "0%"},          // 200 % wraps to 0 %
        {15, 0, 10, "50%"},         // 150 % wraps to 50 %
        {7, 7, 7, "0%"},            // equal bounds show 0 %
        {100000, 0, 200000, "50%"},  // bounds beyond 16 bits do not wrap
        {INT32_MAX, 0, INT32_MAX, "100%"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CPrintStatusDlg::FormatPercent(c.position, c.lower, c.upper), c.text)
            << c.position << " in " << c.lower << ".." << c.upper;
}

TEST(PrintStatus, StepPastTheUpperBoundChangesNothing) {
    RecordingStatusWindow window;
    CPrintStatusDlg status(window);
    ASSERT_EQ(status.Create(), 1);
    status.SetRange(0, 3);
    status.SetStep(2);
    EXPECT_EQ(status.StepIt(), 0);
    EXPECT_EQ(status.Position(), 2);
    const size_t positions = window.positions.size();
    const size_t percents = window.percents.size();
    EXPECT_EQ(status.StepIt(), 2);  // 4 would pass 3
    EXPECT_EQ(status.Position(), 2);
    EXPECT_EQ(window.positions.size(), positions);
    EXPECT_EQ(window.percents.size(), percents);
    EXPECT_EQ(status.PercentText(), "66%");

    // A range of more than 65,535 bands steps to its end.
    status.SetRange(0, 70000);
    status.SetStep(1);
    status.SetPos(69999);
    status.StepIt();
    EXPECT_EQ(status.Position(), 70000);
    EXPECT_EQ(status.PercentText(), "100%");
    EXPECT_EQ(window.ranges.back(), (std::pair<int32_t, int32_t>{0, 70000}));
}

TEST(PrintStatus, UnchangedTextsAreNotSentAndEveryCallPumps) {
    RecordingStatusWindow window;
    CPrintStatusDlg status(window);
    ASSERT_EQ(status.Create(), 1);
    status.SetStatusText("Seite 1 /2 wird gespoolt.");
    status.SetStatusText("Seite 1 /2 wird gespoolt.");
    status.SetStatusText("Seite 2 /2 wird gespoolt.");
    EXPECT_EQ(window.statuses, (std::vector<std::string>{"Seite 1 /2 wird gespoolt.", "Seite 2 /2 wird gespoolt."}));

    status.SetRange(0, 1000);
    for (int i = 0; i < 5; ++i) status.StepIt();  // 0.5 %: still 0 %
    EXPECT_EQ(window.percents, std::vector<std::string>{"0%"});

    const int before = window.pumps;
    status.SetPos(3);
    status.StepIt();
    status.IsCancelled();
    status.SetStatusText("x");
    EXPECT_EQ(window.pumps, before + 4);
}

TEST(PrintStatus, CancelOnlySetsTheFlagAndTheOwnerComesBack) {
    RecordingStatusWindow window;
    {
        CPrintStatusDlg status(window);
        ASSERT_EQ(status.Create(), 1);
        EXPECT_FALSE(window.ownerEnabled);
        EXPECT_FALSE(status.IsCancelled());
        window.cancel();  // the button
        status.OnCancel();  // Escape
        EXPECT_TRUE(status.IsCancelled());
        EXPECT_TRUE(status.IsCancelled());
        EXPECT_TRUE(window.created) << "the job closes the window, not Cancel";
        EXPECT_EQ(window.destroys, 0);
    }
    // The destructor destroyed the window and enabled the owner.
    EXPECT_EQ(window.destroys, 1);
    EXPECT_TRUE(window.ownerEnabled);

    // An owner that was disabled already stays disabled.
    RecordingStatusWindow disabledOwner;
    disabledOwner.ownerEnabled = false;
    CPrintStatusDlg second(disabledOwner);
    ASSERT_EQ(second.Create(), 1);
    second.DestroyWindow();
    second.DestroyWindow();
    EXPECT_FALSE(disabledOwner.ownerEnabled);
    EXPECT_EQ(disabledOwner.destroys, 1);

    // A window that cannot be made gives the owner back at once.
    RecordingStatusWindow failing;
    failing.createAnswer = false;
    CPrintStatusDlg third(failing);
    EXPECT_EQ(third.Create(), 0);
    EXPECT_TRUE(failing.ownerEnabled);
}

}  // namespace
}  // namespace vx
