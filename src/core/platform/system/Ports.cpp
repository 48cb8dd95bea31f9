#include "platform/system/Ports.h"

#include <cstdio>

#include "platform/system/StringTable.h"

namespace vx {
namespace {

struct StderrMessages final : MessagePort {
    int Show(int id, const Args& args, Icon, Buttons buttons) override {
        std::fprintf(stderr, "vellicorex: %s\n", MessageText(id, args).c_str());
        switch (buttons) {
            case Buttons::YesNo: case Buttons::YesNoCancel: return kIdYes;
            case Buttons::RetryCancel: return kIdRetry;
            case Buttons::AbortRetryIgnore: return kIdAbort;
            default: return kIdOk;
        }
    }
};

struct SilentProgress final : ProgressPort {
    void SetText(const std::string&) override {}
    void SetRange(int) override {}
    void SetValue(int) override {}
    bool IsCancelled() override { return false; }
};

struct NoStatus final : StatusPort {
    void UpdateStatusText(int, const Args&) override {}
};

StderrMessages gDefaultMessages;
SilentProgress gDefaultProgress;
NoStatus gDefaultStatus;
MessagePort* gMessages = &gDefaultMessages;
ProgressPort* gProgress = &gDefaultProgress;
StatusPort* gStatus = &gDefaultStatus;

template <class T, class D>
T* Swap(T*& slot, T* port, D& fallback) {
    T* previous = slot;
    slot = port ? port : &fallback;
    return previous;
}

}  // namespace

MessagePort& Messages() { return *gMessages; }
ProgressPort& Progress() { return *gProgress; }
StatusPort& StatusBar() { return *gStatus; }

MessagePort* SetMessagePort(MessagePort* p) { return Swap(gMessages, p, gDefaultMessages); }
ProgressPort* SetProgressPort(ProgressPort* p) { return Swap(gProgress, p, gDefaultProgress); }
StatusPort* SetStatusPort(StatusPort* p) { return Swap(gStatus, p, gDefaultStatus); }

}  // namespace vx
