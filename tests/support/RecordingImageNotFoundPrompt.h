#pragma once
#include <string>
#include <vector>

#include "host/HostService.h"
#include "host/ImageNotFoundPrompt.h"

namespace vx::test {

/// Records the names asked about and answers from a script, then `answer`.
struct RecordingImageNotFoundPrompt : ImageNotFoundPrompt {
    std::vector<std::string> asked;
    std::vector<int> answers;  // taken first to last
    int answer = kImageNotFoundSkip;

    int Ask(const std::string& name) override {
        asked.push_back(name);
        if (asked.size() <= answers.size()) return answers[asked.size() - 1];
        return answer;
    }
};

/// A recording prompt installed for the object's lifetime.
struct InstalledImageNotFoundPrompt : RecordingImageNotFoundPrompt {
    ScopedHostService<ImageNotFoundPrompt> installed{this};
};

}  // namespace vx::test
