#include "support/printing/FileQueueOutput.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "platform/spool/QueueFile.h"
#include "support/RunCommand.h"

namespace fs = std::filesystem;

namespace vx::test {

void WriteShippedFileQueue(const fs::path& userFolder, const fs::path& output) {
    std::ofstream(userFolder / QueueFile::kFileName)
        << "[" << kShippedFileQueue << "]\nModel=TEVRA Proof 44\nOutput=" << output.string() << "\nDefault=1\n";
}

std::vector<fs::path> PdfsIn(const fs::path& folder) {
    std::vector<fs::path> pdfs;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec))
        if (e.path().extension() == ".pdf") pdfs.push_back(e.path());
    return pdfs;
}

std::optional<std::string> PdfInfo(const fs::path& pdf, int first, int last) {
    if (std::system("command -v pdfinfo >/dev/null 2>&1") != 0) return std::nullopt;
    const std::string command =
        "pdfinfo -f " + std::to_string(first) + " -l " + std::to_string(last) + " '" + pdf.string() + "'";
    std::string out = RunCommand(command);
    out.erase(std::unique(out.begin(), out.end(), [](char a, char b) { return a == ' ' && b == ' '; }), out.end());
    return out;
}

}  // namespace vx::test
