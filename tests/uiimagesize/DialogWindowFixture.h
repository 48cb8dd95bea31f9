#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include <wx/toplevel.h>
#include <wx/uiaction.h>

/// One wx start per process; runs a modal dialog while a script drives it with
/// simulated input from inside its event loop.
class DialogWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void TearDown() override;

    /// Runs the event loop for about ms milliseconds.
    static void Pump(int ms = 150);
    template <class F> static bool PumpUntil(F done, int ms = 3000) {
        for (int waited = 0; waited < ms; waited += 20) {
            if (done()) return true;
            Pump(20);
        }
        return done();
    }
    /// Calls script once the first top-level window of type T is shown, then runs
    /// (modal) the call that opens it; returns what run returned.
    template <class T>
    bool Drive(const std::function<bool()>& run, const std::function<void(T&)>& script) {
        bool seen = false;
        CallSoon([&] {
            T* dialog = nullptr;
            PumpUntil([&] {
                for (wxWindow* w : wxTopLevelWindows)
                    if ((dialog = dynamic_cast<T*>(w)) && dialog->IsShownOnScreen()) return true;
                dialog = nullptr;
                return false;
            });
            if (!dialog) return;
            seen = true;
            Pump(300);
            script(*dialog);
        });
        const bool result = run();
        EXPECT_TRUE(seen) << "the dialog never showed";
        return result;
    }
    static void CallSoon(std::function<void()> f);

    /// Writes the window's pixels to the test-output folder.
    static void SavePng(wxWindow* window, const std::string& name);
    /// Clicks at p in window's client coordinates (its middle when not given).
    void ClickAt(wxWindow* window, wxPoint p = wxDefaultPosition);
    /// Clicks a radio button or check box on its indicator.
    void ClickBox(wxWindow* window) { ClickAt(window, wxPoint(9, window->GetSize().y / 2)); }
    /// Focuses the edit, selects its text and types keys over it.
    void TypeInto(wxWindow* edit, const char* keys);

    wxUIActionSimulator mSim;
};
