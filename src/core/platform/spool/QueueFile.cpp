#include "platform/spool/QueueFile.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <system_error>

#include "platform/system/Folders.h"
#include "platform/system/Utf8.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

fs::path HomeFolder() {
    if (const char* h = std::getenv("HOME"); h && *h) return h;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return {};
}

// An absolute folder, or one below the home folder written "~/..."; empty otherwise.
fs::path OutputFolder(std::string_view text) {
    if (text.substr(0, 2) == "~/") {
        fs::path home = HomeFolder();
        return home.is_absolute() ? (home / fs::path(text.substr(2))).lexically_normal() : fs::path();
    }
    fs::path p{std::string(text)};
    return p.is_absolute() ? p.lexically_normal() : fs::path();
}

struct RawSection {
    std::string name;
    int line = 0;
    const char* fault = nullptr;  // why the section cannot be read
    std::optional<std::string> model, output, isDefault;
};

void Report(const std::string& file, int line, std::string_view name, const char* why) {
    std::fprintf(stderr, "VellicorEX: %s:%d: queue \"%.*s\" left out: %s\n", file.c_str(), line,
                 static_cast<int>(name.size()), name.data(), why);
}

std::vector<RawSection> Split(std::string_view text, const std::string& fileName) {
    std::vector<RawSection> sections;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    int lineNo = 0;
    for (size_t pos = 0; pos < text.size();) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view raw = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        std::string_view line = TrimBlanks(raw);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line[0] == '[') {
            RawSection s;
            s.line = lineNo;
            if (line.back() != ']') {
                s.name = std::string(line.substr(1));
                s.fault = "the section header has no closing bracket";
            } else {
                s.name = std::string(TrimBlanks(line.substr(1, line.size() - 2)));
                if (s.name.empty()) s.fault = "the section has no name";
                else if (!IsValidUtf8(s.name)) s.fault = "the name is not UTF-8";
            }
            sections.push_back(std::move(s));
            continue;
        }
        if (sections.empty()) {
            std::fprintf(stderr, "VellicorEX: %s:%d: line outside any section ignored\n",
                         fileName.c_str(), lineNo);
            continue;
        }
        RawSection& s = sections.back();
        size_t eq = line.find('=');
        if (eq == std::string_view::npos) {
            if (!s.fault) s.fault = "a line is not \"key=value\"";
            continue;
        }
        std::string_view key = TrimBlanks(line.substr(0, eq));
        std::string value(TrimBlanks(line.substr(eq + 1)));
        std::optional<std::string>* slot = EqualsNoCaseAscii(key, "Model")     ? &s.model
                                           : EqualsNoCaseAscii(key, "Output")  ? &s.output
                                           : EqualsNoCaseAscii(key, "Default") ? &s.isDefault
                                                                               : nullptr;
        if (!slot) continue;  // keys of later versions
        if (slot->has_value() && !s.fault) s.fault = "a key is given twice";
        if (!slot->has_value()) *slot = std::move(value);
    }
    return sections;
}

}  // namespace

fs::path QueueFile::InForce() {
    fs::path user = UserFolder() / kFileName;
    std::error_code ec;
    if (fs::exists(user, ec)) return user;
    return DataFolder() / "printers" / kFileName;
}

std::vector<QueueFileEntry> QueueFile::Parse(std::string_view text, const std::string& fileName) {
    std::vector<QueueFileEntry> entries;
    for (const RawSection& s : Split(text, fileName)) {
        const char* fault = s.fault;
        QueueFileEntry e;
        e.name = s.name;
        e.line = s.line;
        if (!fault && (!s.model || s.model->empty())) fault = "no Model";
        if (!fault) {
            e.model = *s.model;
            e.isDefault = s.isDefault && *s.isDefault == "1";
            if (s.output) {
                e.output = OutputFolder(*s.output);
                if (e.output.empty()) fault = "Output is neither absolute nor below \"~/\"";
            }
        }
        if (!fault)
            for (const QueueFileEntry& earlier : entries)
                if (EqualsNoCaseAscii(earlier.name, e.name)) fault = "the name repeats an earlier section";
        if (fault) Report(fileName, s.line, s.name, fault);
        else entries.push_back(std::move(e));
    }
    return entries;
}

}  // namespace vx
