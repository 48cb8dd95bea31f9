#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>

namespace vx {

/// Bytes that the calling user may still write on the file system of folder; nullopt
/// when it cannot be asked.
std::optional<uint64_t> FreeBytesAt(const std::filesystem::path& folder);

/// Tests make FreeBytesAt answer bytes (nullopt: ask the file system again).
void FakeFreeBytesForTests(std::optional<uint64_t> bytes);

}  // namespace vx
