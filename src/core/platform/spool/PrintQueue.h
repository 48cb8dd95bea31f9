#pragma once
#include <string>

namespace vx {

enum class QueueKind { Cups, File };

/// One print queue, in place of a spooler printer: a CUPS destination or a file queue
/// of the queue file.
struct PrintQueue {
    std::string name;
    QueueKind kind = QueueKind::Cups;
    /// The CUPS device URI, or the file queue's output folder; kept whole.
    std::string port;
    /// CUPS printer-make-and-model; empty for file queues.
    std::string makeAndModel;
    /// CUPS printer-info; empty for file queues.
    std::string info;
    /// The model the queue file names for this queue (a file queue's Model, or the
    /// mapping of a CUPS queue); empty when the file names none.
    std::string model;
    bool isDefault = false;

    bool operator==(const PrintQueue&) const = default;
};

}  // namespace vx
