// Writes the program's ICC profiles: every section of the input files becomes one
// profile below the data folder, or, for "resource:<n>" sections, an entry of the C++
// source that carries those profiles inside the program.
//
//   vx_profile_generator --data <folder> --program-source <file.cpp> <input.ini>...

#include <lcms2.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform/system/AtomicFile.h"
#include "platform/system/Paths.h"
#include "profilegen/IccOutput.h"
#include "profilegen/ProfileEntry.h"
#include "profilegen/Recipes.h"

namespace fs = std::filesystem;
using namespace vx;
using namespace vx::profilegen;

namespace {

void LittleCmsError(cmsContext, cmsUInt32Number, const char* text) {
    std::fprintf(stderr, "vx_profile_generator: LittleCMS: %s\n", text ? text : "");
}

void Write(const fs::path& target, const std::string& bytes) {
    std::error_code ec;
    fs::create_directories(target.parent_path(), ec);
    if (Status st = WriteFileAtomically(target, bytes); !st)
        throw std::runtime_error("cannot write " + PathText(target));
}

int Run(int argc, char** argv) {
    fs::path dataFolder, programSource;
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--data" && i + 1 < argc) dataFolder = argv[++i];
        else if (arg == "--program-source" && i + 1 < argc) programSource = argv[++i];
        else if (!arg.starts_with("--")) inputs.emplace_back(arg);
        else throw std::runtime_error("unknown option " + std::string(arg));
    }
    if (dataFolder.empty() || programSource.empty() || inputs.empty())
        throw std::runtime_error(
            "usage: vx_profile_generator --data <folder> --program-source <file.cpp> <input.ini>...");
    std::sort(inputs.begin(), inputs.end());

    std::map<int, std::vector<uint8_t>> carried;
    for (const ProfileEntry& entry : ReadProfileEntries(inputs)) {
        ProfileHandle profile = BuildProfile(entry);
        std::vector<uint8_t> bytes = SerialiseReproducibly(profile.get());
        if (entry.resourceId) carried[*entry.resourceId] = std::move(bytes);
        else Write(dataFolder / entry.relativePath, std::string(bytes.begin(), bytes.end()));
    }
    Write(programSource, ProgramProfileSource(carried));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    cmsSetLogErrorHandler(LittleCmsError);
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vx_profile_generator: %s\n", e.what());
        return 1;
    }
}
