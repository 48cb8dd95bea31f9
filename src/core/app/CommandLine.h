#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace vx {

/// What the shell asked of the program, as the command line says it.
enum class ShellCommand { Nothing, New, Open, Print, PrintTo };

/// A parsed command line: the shell command with its layout file and queue, and the
/// image list of the "VO2=" form (list mode 0) or the "FM" form (list mode 1).
struct CGPCommandLineInfo {
    ShellCommand shellCommand = ShellCommand::New;
    std::filesystem::path fileName;
    std::string printerName;
    /// -1 none, 0 an image-list file, 1 image paths.
    int listMode = -1;
    /// "VO2=" and the list file's path as given.
    std::string listFileText;
    /// The image-list file, resolved against the working directory.
    std::filesystem::path listFile;
    std::vector<std::filesystem::path> fileList;
    std::filesystem::path lastListFile;

    /// One argument: isSwitch with its switch character stripped.
    void ParseParam(const std::string& text, bool isSwitch);
    /// After the last argument: a file name given with New asks to open it.
    void ParseLast();

    /// Relative paths resolve against this folder (the sender's working directory).
    std::filesystem::path workingDirectory;

private:
    std::filesystem::path Resolve(const std::string& text) const;
    /// Plain arguments still owed to a print switch (its file, then the queue).
    int mPrintArguments = 0;
};

/// Whether an argument is a switch: it begins with '-', is exactly "/p", "/pt" or
/// "/dde", or begins with "/VO2=" or "/FM"; any other '/' argument is a path.
bool IsCommandLineSwitch(const std::string& argument);

/// Parses argv (without the program's name) as given in workingDirectory.
CGPCommandLineInfo ParseCommandLine(const std::vector<std::string>& arguments,
                                    const std::filesystem::path& workingDirectory);

}  // namespace vx
