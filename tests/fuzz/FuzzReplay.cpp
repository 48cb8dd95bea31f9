// Stands in for libFuzzer in the ordinary build: hands every file named on the command
// line, and every file below every folder named, once to the fuzz target, in sorted
// order, so that the inputs the fuzzers were given or found stay tested without clang.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        std::error_code ec;
        if (fs::is_directory(argv[i], ec)) {
            for (const fs::directory_entry& entry : fs::recursive_directory_iterator(argv[i]))
                if (entry.is_regular_file()) inputs.push_back(entry.path());
        } else if (fs::is_regular_file(argv[i], ec)) {
            inputs.emplace_back(argv[i]);
        } else {
            std::fprintf(stderr, "%s: no such file or folder\n", argv[i]);
            return 1;
        }
    }
    // A replay of nothing would pass without testing anything.
    if (inputs.empty()) {
        std::fprintf(stderr, "usage: %s <file or folder>... (with at least one file)\n", argv[0]);
        return 1;
    }
    std::sort(inputs.begin(), inputs.end());
    for (const fs::path& path : inputs) {
        // Exactly the input's size on the heap, as libFuzzer passes it, so that the
        // sanitizer sees a read past its end.
        std::error_code ec;
        const uintmax_t size = fs::file_size(path, ec);
        std::unique_ptr<uint8_t[]> data(new uint8_t[ec ? 0 : size]);
        std::ifstream in(path, std::ios::binary);
        if (ec || !in.read(reinterpret_cast<char*>(data.get()), std::streamsize(size))) {
            std::fprintf(stderr, "%s: cannot read\n", path.c_str());
            return 1;
        }
        // Named before it runs: a crash report then follows the name of its input.
        std::printf("%s\n", path.c_str());
        std::fflush(stdout);
        LLVMFuzzerTestOneInput(data.get(), size_t(size));
    }
    std::printf("%zu inputs replayed\n", inputs.size());
    return 0;
}
