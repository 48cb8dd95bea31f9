#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The shipped file queue printing into a folder of the test's own, and what it leaves.

namespace vx::test {

/// The shipped printer's file queue.
inline constexpr const char* kShippedFileQueue = "TEVRA Proof 44 (Datei)";

/// Writes the queue file of userFolder: the shipped file queue alone, the default,
/// printing into output.
void WriteShippedFileQueue(const std::filesystem::path& userFolder, const std::filesystem::path& output);

/// The PDF files in folder.
std::vector<std::filesystem::path> PdfsIn(const std::filesystem::path& folder);

/// pdfinfo's report of the pages first to last (with their sizes), runs of spaces made
/// one; nullopt when pdfinfo (poppler-utils) is not installed.
std::optional<std::string> PdfInfo(const std::filesystem::path& pdf, int first, int last);

}  // namespace vx::test
