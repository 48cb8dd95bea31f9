#pragma once
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vx::profilegen {

/// One section of a generator input file: where the profile goes, its header class and
/// space, its description, and the recipe with its parameters.
///
/// A section name is a path relative to the data folder ("icc/Name.icc"), or
/// "resource:<number>" for a profile compiled into the program. Keys: Class (mntr, prtr,
/// abst), Space (RGB, CMYK, Lab), Description, Recipe, then the recipe's own keys. A
/// value may end in a comment after blanks and ';'.
struct ProfileEntry {
    std::filesystem::path file;         // the input file, for messages
    std::string section;                // as written
    std::optional<int> resourceId;      // compiled into the program
    std::filesystem::path relativePath; // else written below the data folder
    uint32_t deviceClass = 0;
    uint32_t colourSpace = 0;
    std::string description;
    std::string recipe;
    std::map<std::string, std::string> params;  // the remaining keys, lower case

    std::string Where() const;  // "file [section]"
};

/// Reads every section of the files in order; throws std::runtime_error naming the file
/// and section of the first mistake (unknown class or space, missing key, unsafe path,
/// a target named twice).
std::vector<ProfileEntry> ReadProfileEntries(const std::vector<std::filesystem::path>& files);

}  // namespace vx::profilegen
