#include "app/CommandLine.h"

#include "platform/system/Paths.h"

namespace fs = std::filesystem;

namespace vx {

bool IsCommandLineSwitch(const std::string& argument) {
    if (argument.size() > 1 && argument[0] == '-') return true;
    if (argument == "/p" || argument == "/pt" || argument == "/dde") return true;
    return argument.rfind("/VO2=", 0) == 0 || argument.rfind("/FM", 0) == 0;
}

fs::path CGPCommandLineInfo::Resolve(const std::string& text) const {
    if (text.empty()) return {};
    fs::path p(text);
    if (p.is_absolute() || workingDirectory.empty()) return p.lexically_normal();
    return (workingDirectory / p).lexically_normal();
}

void CGPCommandLineInfo::ParseParam(const std::string& text, bool isSwitch) {
    if (isSwitch) {
        if (text == "p") {
            shellCommand = ShellCommand::Print;
            mPrintArguments = 1;
            listMode = -1;
        } else if (text == "pt") {
            shellCommand = ShellCommand::PrintTo;
            mPrintArguments = 2;
            listMode = -1;
        } else if (text.rfind("VO2=", 0) == 0) {
            // A later list file replaces an earlier one; the path is all after "VO2=",
            // so an '=' in a folder name stays part of it.
            listMode = 0;
            listFileText = text;
            listFile = Resolve(text.substr(4));
        } else if (text.rfind("FM", 0) == 0) {
            listMode = 1;
            fileList.clear();
            // "FM=" may carry the first path itself.
            if (text.size() > 3 && text[2] == '=') ParseParam(text.substr(3), false);
        }
        // "dde" and unknown switches are ignored.
        return;
    }
    if (listMode == 1) {
        shellCommand = ShellCommand::Nothing;
        lastListFile = Resolve(text);
        fileList.push_back(lastListFile);
        return;
    }
    if (mPrintArguments > 0) {
        // The print switch holds: its file, then (print-to) the queue.
        if (shellCommand == ShellCommand::PrintTo && mPrintArguments == 1) printerName = text;
        else fileName = Resolve(text);
        --mPrintArguments;
        return;
    }
    listMode = -1;
    shellCommand = ShellCommand::Open;
    fileName = Resolve(text);
}

void CGPCommandLineInfo::ParseLast() {
    if (shellCommand == ShellCommand::New && !fileName.empty()) shellCommand = ShellCommand::Open;
}

CGPCommandLineInfo ParseCommandLine(const std::vector<std::string>& arguments, const fs::path& workingDirectory) {
    CGPCommandLineInfo info;
    info.workingDirectory = workingDirectory;
    for (const std::string& argument : arguments) {
        if (argument.empty()) continue;
        const bool isSwitch = IsCommandLineSwitch(argument);
        info.ParseParam(isSwitch ? argument.substr(1) : argument, isSwitch);
    }
    info.ParseLast();
    return info;
}

}  // namespace vx
