// Makes the shipped templates: writes the placeholder pictures, loads every template
// source as the program does, reconciles it with its printer model, draws its preview
// and writes the template into the data folder's "templates".
//
//   vx_template_generator --data DIR --placeholders INI --out DIR [--check] SOURCE.kqt...
//
// The run happens in folders of its own (user, temporary, no CUPS server), so two runs
// give the same bytes. With --check nothing is written: the run fails when a file it
// would write differs from the one in DIR, or DIR holds a file it would not write.

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "app/TemplateGenerator.h"
#include "platform/system/AtomicFile.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

int Usage() {
    std::fprintf(stderr,
                 "usage: vx_template_generator --data DIR --placeholders INI --out DIR [--check] SOURCE.kqt...\n");
    return 2;
}

/// Every regular file below folder, by its path relative to it.
std::map<std::string, std::string> Files(const fs::path& folder) {
    std::map<std::string, std::string> files;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
        if (it->is_regular_file()) files[fs::relative(it->path(), folder).string()] = ReadAll(it->path());
    return files;
}

/// Runs in a private folder: the generator's own user and temporary folders and no
/// CUPS server, whatever the machine has.
struct PrivateRun {
    fs::path root;
    PrivateRun() {
        std::string pattern = (fs::temp_directory_path() / "vx-templategen-XXXXXX").string();
        if (mkdtemp(pattern.data())) root = pattern;
    }
    ~PrivateRun() {
        std::error_code ec;
        if (!root.empty()) fs::remove_all(root, ec);
    }
};

}  // namespace

int main(int argc, char** argv) {
    fs::path data, placeholders, out;
    bool check = false;
    std::vector<fs::path> sources;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if ((a == "--data" || a == "--placeholders" || a == "--out") && i + 1 < argc) {
            (a == "--data" ? data : a == "--out" ? out : placeholders) = argv[++i];
        } else if (a == "--check") {
            check = true;
        } else if (a.starts_with("--")) {
            return Usage();
        } else {
            sources.emplace_back(a);
        }
    }
    if (data.empty() || placeholders.empty() || out.empty() || sources.empty()) return Usage();

    PrivateRun run;
    if (run.root.empty()) {
        std::fprintf(stderr, "templategen: no temporary folder\n");
        return 1;
    }
    const fs::path staging = run.root / "templates";
    setenv("VELLICOREX_DATA_DIR", fs::absolute(data).c_str(), 1);
    setenv("VELLICOREX_USER_DIR", (run.root / "user").c_str(), 1);
    setenv("VELLICOREX_TEMP_DIR", (run.root / "temp").c_str(), 1);
    setenv("CUPS_SERVER", (run.root / "no-cups.sock").c_str(), 1);
    if (!vx::WriteModelQueueFile(run.root / "user", run.root / "printed")) {
        std::fprintf(stderr, "templategen: cannot write the queue file\n");
        return 1;
    }

    std::string error;
    std::optional<std::vector<vx::PlaceholderPicture>> pictures = vx::ReadPlaceholderList(placeholders, error);
    if (!pictures) {
        std::fprintf(stderr, "templategen: %s: %s\n", placeholders.c_str(), error.c_str());
        return 1;
    }
    for (const vx::PlaceholderPicture& p : *pictures)
        if (!vx::WritePlaceholderPicture(staging / p.file, p)) {
            std::fprintf(stderr, "templategen: cannot write %s\n", p.file.c_str());
            return 1;
        }

    int failures = 0;
    {
        // Listing the queues says on stderr that the (absent) CUPS server is not there;
        // a build needs no such line.
        const int savedErr = dup(STDERR_FILENO);
        if (const int null = open("/dev/null", O_WRONLY | O_CLOEXEC); null >= 0) {
            dup2(null, STDERR_FILENO);
            close(null);
        }
        vx::TemplateGenerator generator;
        if (savedErr >= 0) {
            dup2(savedErr, STDERR_FILENO);
            close(savedErr);
        }
        if (!generator.Ready(error)) {
            std::fprintf(stderr, "templategen: %s\n", error.c_str());
            return 1;
        }
        for (const fs::path& source : sources) {
            const fs::path target = staging / source.filename();
            std::optional<std::string> bytes = generator.Generate(source, target, error);
            if (!bytes || !vx::WriteFileAtomically(target, *bytes)) {
                std::fprintf(stderr, "templategen: %s: %s\n", source.c_str(), bytes ? "cannot be written" : error.c_str());
                ++failures;
            }
        }
    }
    if (failures) return 1;

    const std::map<std::string, std::string> made = Files(staging);
    const std::map<std::string, std::string> present = Files(out);
    if (check) {
        for (const auto& [name, bytes] : made) {
            auto it = present.find(name);
            if (it == present.end()) std::fprintf(stderr, "templategen: %s is missing in %s\n", name.c_str(), out.c_str());
            else if (it->second != bytes) std::fprintf(stderr, "templategen: %s differs from a new run\n", name.c_str());
            else continue;
            ++failures;
        }
        for (const auto& [name, bytes] : present)
            if (!made.count(name)) {
                std::fprintf(stderr, "templategen: %s is not made by a run\n", name.c_str());
                ++failures;
            }
        return failures ? 1 : 0;
    }
    // Only what changed is rewritten, and nothing else stays in the folder.
    std::error_code ec;
    for (const auto& [name, bytes] : present)
        if (!made.count(name)) fs::remove(out / name, ec);
    for (const auto& [name, bytes] : made) {
        auto it = present.find(name);
        if (it != present.end() && it->second == bytes) continue;
        fs::create_directories((out / name).parent_path(), ec);
        if (!vx::WriteFileAtomically(out / name, bytes)) {
            std::fprintf(stderr, "templategen: cannot write %s\n", (out / name).c_str());
            return 1;
        }
    }
    // Empty image folders of templates that are gone.
    for (auto it = fs::directory_iterator(out, ec); !ec && it != fs::directory_iterator(); it.increment(ec))
        if (it->is_directory() && fs::is_empty(it->path())) fs::remove(it->path(), ec);
    return 0;
}
