#pragma once
#include <string>
#include <vector>

#include "platform/system/Ports.h"

namespace vx::test {

/// Records every message with its id, arguments and final German text; answers
/// `answer` (or the next of `answers` while any are left).
struct RecordingMessagePort : MessagePort {
    struct Shown {
        int id;
        Args args;
        std::string text;
        Icon icon;
        Buttons buttons;
    };
    std::vector<Shown> shown;
    std::vector<int> answers;
    int answer = kIdOk;

    int Show(int id, const Args& args, Icon icon, Buttons buttons) override;
    std::vector<int> Ids() const;
};

struct RecordingProgressPort : ProgressPort {
    std::vector<std::string> texts;
    std::vector<int> values;
    int maximum = 0;
    int cancelAfterChecks = -1;  // IsCancelled turns true after this many calls; -1 never
    int checks = 0;

    void SetText(const std::string& text) override { texts.push_back(text); }
    void SetRange(int m) override { maximum = m; }
    void SetValue(int v) override { values.push_back(v); }
    bool IsCancelled() override { return cancelAfterChecks >= 0 && ++checks > cancelAfterChecks; }
};

struct RecordingStatusPort : StatusPort {
    struct Update { int code; Args args; };
    std::vector<Update> updates;
    void UpdateStatusText(int code, const Args& args) override { updates.push_back({code, args}); }
};

/// Installs ports for the object's lifetime and restores the previous ones.
class ScopedPorts {
public:
    explicit ScopedPorts(MessagePort* m, ProgressPort* p = nullptr, StatusPort* s = nullptr);
    ~ScopedPorts();
private:
    MessagePort* mOldMessages;
    ProgressPort* mOldProgress;
    StatusPort* mOldStatus;
    bool mProgress, mStatus;
};

}  // namespace vx::test
