#pragma once
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/uiaction.h>

inline void PrintTo(const wxColour& c, std::ostream* os) {
    *os << "RGB(" << int(c.Red()) << ", " << int(c.Green()) << ", " << int(c.Blue()) << ")";
}

/// One wx start per process for the control suites, a frame per test and helpers
/// that let the display catch up with simulated input.
class Gallery : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    /// Runs the event loop for about ms milliseconds.
    static void Pump(int ms = 150);
    /// Runs the event loop until done() holds or ms have passed.
    template <class F> static bool PumpUntil(F done, int ms = 2000) {
        for (int waited = 0; waited < ms; waited += 20) {
            if (done()) return true;
            Pump(20);
        }
        return done();
    }
    /// The window's pixels as the screen shows them.
    static wxImage Grab(wxWindow* window);
    /// Writes the window's pixels to the test-output folder.
    static void SavePng(wxWindow* window, const std::string& name);
    static wxColour PixelAt(const wxImage& image, wxPoint p) {
        return wxColour(image.GetRed(p.x, p.y), image.GetGreen(p.x, p.y), image.GetBlue(p.x, p.y));
    }
    /// Moves the pointer to the centre of window (or p in its client coordinates).
    void MoveTo(wxWindow* window, wxPoint p = wxDefaultPosition);
    void ClickAt(wxWindow* window, int button = wxMOUSE_BTN_LEFT, wxPoint p = wxDefaultPosition);
    void Type(const char* keys);

    wxFrame* mFrame = nullptr;
    wxPanel* mPanel = nullptr;
    wxUIActionSimulator mSim;
};
