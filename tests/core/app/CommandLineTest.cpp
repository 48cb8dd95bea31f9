#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CommandLine.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

using Paths = std::vector<fs::path>;

TEST(CommandLine, ArgumentsTable) {
    const fs::path cwd = "/home/u/arbeit";
    struct Case {
        std::vector<std::string> argv;
        ShellCommand shell;
        fs::path file;
        std::string printer;
        int listMode;
        fs::path listFile;
        Paths list;
    } cases[] = {
        {{}, ShellCommand::New, {}, {}, -1, {}, {}},
        {{"/home/u/x.kqf"}, ShellCommand::Open, "/home/u/x.kqf", {}, -1, {}, {}},
        {{"a.kqf", "sub/b.kqf"}, ShellCommand::Open, "/home/u/arbeit/sub/b.kqf", {}, -1, {}, {}},
        {{"-p", "x.kqf"}, ShellCommand::Print, "/home/u/arbeit/x.kqf", {}, -1, {}, {}},
        {{"/p", "x.kqf"}, ShellCommand::Print, "/home/u/arbeit/x.kqf", {}, -1, {}, {}},
        {{"-pt", "x.kqf", "Proof Q"}, ShellCommand::PrintTo, "/home/u/arbeit/x.kqf", "Proof Q", -1, {}, {}},
        {{"-dde", "-unbekannt", "y.kqf"}, ShellCommand::Open, "/home/u/arbeit/y.kqf", {}, -1, {}, {}},
        {{"-VO2=a.ini", "-VO2=lists/l.ini"}, ShellCommand::New, {}, {}, 0, "/home/u/arbeit/lists/l.ini", {}},
        {{"/VO2=a=b/l.ini"}, ShellCommand::New, {}, {}, 0, "/home/u/arbeit/a=b/l.ini", {}},
        {{"-FM", "/p/a.jpg", "b.jpg"}, ShellCommand::Nothing, {}, {}, 1, {}, {"/p/a.jpg", "/home/u/arbeit/b.jpg"}},
        {{"/FM", "/p/a.jpg", "/p/b.jpg"}, ShellCommand::Nothing, {}, {}, 1, {}, {"/p/a.jpg", "/p/b.jpg"}},
        {{"-FM=", "/p/a.jpg", "/p/b.jpg"}, ShellCommand::Nothing, {}, {}, 1, {}, {"/p/a.jpg", "/p/b.jpg"}},
        {{"-FM=/p/a.jpg", "/p/b.jpg"}, ShellCommand::Nothing, {}, {}, 1, {}, {"/p/a.jpg", "/p/b.jpg"}},
        // A new FM switch starts the list again.
        {{"-FM", "/p/a.jpg", "-FM", "/p/c.jpg"}, ShellCommand::Nothing, {}, {}, 1, {}, {"/p/c.jpg"}},
        // A plain path after a list file ends the list mode.
        {{"-VO2=l.ini", "x.kqf"}, ShellCommand::Open, "/home/u/arbeit/x.kqf", {}, -1, "/home/u/arbeit/l.ini", {}},
    };
    for (const Case& c : cases) {
        std::string trace;
        for (const auto& a : c.argv) trace += a + " ";
        SCOPED_TRACE(trace);
        const CGPCommandLineInfo info = ParseCommandLine(c.argv, cwd);
        EXPECT_EQ(info.shellCommand, c.shell);
        EXPECT_EQ(info.fileName, c.file);
        EXPECT_EQ(info.printerName, c.printer);
        EXPECT_EQ(info.listMode, c.listMode);
        EXPECT_EQ(info.listFile, c.listFile);
        EXPECT_EQ(info.fileList, c.list);
    }
}

TEST(CommandLine, SwitchesAndPaths) {
    for (const char* s : {"-p", "-FM", "-VO2=x", "/p", "/pt", "/dde", "/VO2=x", "/FM", "/FM=", "/FMX"})
        EXPECT_TRUE(IsCommandLineSwitch(s)) << s;
    for (const char* s : {"/home/u/x.kqf", "/pa", "/ptx", "x.kqf", "-"}) EXPECT_FALSE(IsCommandLineSwitch(s)) << s;
}

}  // namespace
}  // namespace vx
