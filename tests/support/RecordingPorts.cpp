#include "support/RecordingPorts.h"

#include "platform/system/StringTable.h"

namespace vx::test {

int RecordingMessagePort::Show(int id, const Args& args, Icon icon, Buttons buttons) {
    shown.push_back({id, args, MessageText(id, args), icon, buttons});
    if (!answers.empty()) {
        int a = answers.front();
        answers.erase(answers.begin());
        return a;
    }
    return answer;
}

std::vector<int> RecordingMessagePort::Ids() const {
    std::vector<int> ids;
    for (const auto& s : shown) ids.push_back(s.id);
    return ids;
}

ScopedPorts::ScopedPorts(MessagePort* m, ProgressPort* p, StatusPort* s)
    : mOldMessages(SetMessagePort(m)),
      mOldProgress(p ? SetProgressPort(p) : nullptr),
      mOldStatus(s ? SetStatusPort(s) : nullptr),
      mProgress(p != nullptr),
      mStatus(s != nullptr) {}

ScopedPorts::~ScopedPorts() {
    SetMessagePort(mOldMessages);
    if (mProgress) SetProgressPort(mOldProgress);
    if (mStatus) SetStatusPort(mOldStatus);
}

}  // namespace vx::test
