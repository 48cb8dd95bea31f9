#pragma once
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

/// One usable section of the queue file. A section with Output is a file queue; one
/// without maps the CUPS queue of its name to a model.
struct QueueFileEntry {
    std::string name;
    std::string model;
    /// The output folder, "~/" expanded; empty for a mapping.
    std::filesystem::path output;
    bool isDefault = false;
    int line = 0;  // of the section header

    bool IsFileQueue() const { return !output.empty(); }
};

/// "VellicorEX_Queues.ini": one INI section per queue (keys Model, Output, Default).
/// Queue names compare without ASCII case, as CUPS compares them.
class QueueFile {
public:
    static constexpr const char* kFileName = "VellicorEX_Queues.ini";

    /// The user folder's queue file when it has one (an empty one means no queues),
    /// else the one shipped in the data folder's "printers" folder.
    static std::filesystem::path InForce();

    /// The usable sections in file order. Each section left out (unreadable, without
    /// Model, a repeated name, a relative Output) gives one stderr line naming
    /// fileName and the line. Never throws on content.
    static std::vector<QueueFileEntry> Parse(std::string_view text, const std::string& fileName);
};

}  // namespace vx
