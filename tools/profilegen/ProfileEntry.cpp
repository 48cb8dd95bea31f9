#include "profilegen/ProfileEntry.h"

#include <set>
#include <stdexcept>

#include "platform/system/FourCC.h"
#include "platform/system/IniFile.h"
#include "platform/system/Numbers.h"
#include "platform/system/Paths.h"
#include "platform/system/Utf8.h"

namespace fs = std::filesystem;

namespace vx::profilegen {
namespace {

std::string WithoutComment(std::string value) {
    for (size_t i = 1; i < value.size(); ++i)
        if (value[i] == ';' && (value[i - 1] == ' ' || value[i - 1] == '\t')) {
            value.resize(i);
            break;
        }
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.pop_back();
    return value;
}

uint32_t ParseCode(const std::string& text, const std::map<std::string, uint32_t>& known,
                   const ProfileEntry& entry, const char* key) {
    auto it = known.find(text);
    if (it == known.end())
        throw std::runtime_error(entry.Where() + ": unknown " + key + " \"" + text + "\"");
    return it->second;
}

bool IsSafeRelativePath(const fs::path& p) {
    if (p.empty() || p.is_absolute() || !p.has_filename()) return false;
    for (const fs::path& part : p)
        if (part == ".." || part == "." || part.empty()) return false;
    return p.string().find('\\') == std::string::npos;
}

}  // namespace

std::string ProfileEntry::Where() const {
    return PathText(file) + " [" + section + "]";
}

std::vector<ProfileEntry> ReadProfileEntries(const std::vector<fs::path>& files) {
    static const std::map<std::string, uint32_t> classes = {
        {"mntr", FourCC("mntr")}, {"prtr", FourCC("prtr")}, {"abst", FourCC("abst")}};
    static const std::map<std::string, uint32_t> spaces = {
        {"RGB", FourCC("RGB ")}, {"CMYK", FourCC("CMYK")}, {"Lab", FourCC("Lab ")}};
    static const std::set<std::string> headerKeys = {"class", "space", "description", "recipe"};

    std::vector<ProfileEntry> entries;
    std::set<std::string> targets;
    for (const fs::path& file : files) {
        IniFile ini;
        if (Status st = ini.Load(file); !st)
            throw std::runtime_error("cannot read " + PathText(file));
        for (const std::string& section : ini.Sections()) {
            ProfileEntry entry;
            entry.file = file;
            entry.section = section;
            if (section.rfind("resource:", 0) == 0) {
                size_t used = 0;
                const std::string number = section.substr(9);
                auto id = ParseLong(number, &used);
                if (!id || used != number.size() || *id <= 0 || *id > 65535)
                    throw std::runtime_error(entry.Where() + ": bad resource number");
                entry.resourceId = int(*id);
            } else {
                if (!IsSafeRelativePath(fs::path(section)))
                    throw std::runtime_error(entry.Where() + ": the target must be a relative path");
                entry.relativePath = fs::path(section);
            }
            if (!targets.insert(AsciiLower(section)).second)
                throw std::runtime_error(entry.Where() + ": target named twice");

            // IniFile finds the first of two equal section names; refuse repeated keys too.
            std::set<std::string> seen;
            for (const std::string& key : ini.Keys(section)) {
                const std::string lower = AsciiLower(key);
                if (!seen.insert(lower).second)
                    throw std::runtime_error(entry.Where() + ": key " + key + " given twice");
                const std::string value = WithoutComment(ini.GetString(section, key));
                if (lower == "class") entry.deviceClass = ParseCode(value, classes, entry, "class");
                else if (lower == "space") entry.colourSpace = ParseCode(value, spaces, entry, "space");
                else if (lower == "description") entry.description = value;
                else if (lower == "recipe") entry.recipe = value;
                else entry.params[lower] = value;
            }
            for (const std::string& key : headerKeys)
                if (!seen.count(key))
                    throw std::runtime_error(entry.Where() + ": missing key " + key);
            if (entry.description.empty() || CountCodePoints(entry.description) > 259)
                throw std::runtime_error(entry.Where() + ": the description needs 1 to 259 characters");
            entries.push_back(std::move(entry));
        }
    }
    return entries;
}

}  // namespace vx::profilegen
