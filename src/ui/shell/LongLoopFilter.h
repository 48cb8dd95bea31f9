#pragma once
#include <wx/eventfilter.h>

namespace vx {

/// While a long loop pumps events, user input (keys, mouse buttons, wheel) is dropped;
/// Ctrl with '.' or the keypad's decimal key is recorded as the wish to stop. Timers,
/// paints and posted events go on.
class LongLoopFilter : public wxEventFilter {
public:
    LongLoopFilter();
    ~LongLoopFilter() override;

    int FilterEvent(wxEvent& event) override;

    /// Runs the waiting events with user input blocked; true when the stop chord came
    /// meanwhile (or is held now). The chord is forgotten afterwards.
    bool PumpAndTakeCancel();
    bool Pumping() const { return mPumping; }

    /// The one filter of the run (installed by the first PumpAndTakeCancel).
    static LongLoopFilter& Instance();

    /// Whether a key event is the stop chord.
    static bool IsCancelChord(int keyCode, bool control);

private:
    bool mPumping = false;
    bool mCancel = false;
    bool mInstalled = false;
};

/// Ctrl with '.' or the keypad's decimal key, held now or pressed during the last pump.
bool IsCtrlDecimalKeyDown();

}  // namespace vx
