#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/InstanceRequests.h"
#include "platform/system/StringTable.h"
#include "support/RecordingPorts.h"

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace vx {
namespace {

TEST(InstanceRequests, ArgumentsArriveExactlyAndParseAgainstTheSendersFolder) {
    InstanceRequest sent;
    sent.workingDirectory = "/home/u/Bilder mit Ä";
    sent.arguments = {"-FM", "/p/a b.jpg", "sub/ä.jpg", "line\nbreak.jpg", "quote\"d.jpg", ""};
    const std::optional<std::string> bytes = EncodeInstanceRequest(sent);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->substr(0, 13), "VellicorEX 1\0"s);
    const std::optional<InstanceRequest> got = DecodeInstanceRequest(*bytes);
    ASSERT_TRUE(got);
    EXPECT_EQ(got->workingDirectory, sent.workingDirectory);
    EXPECT_EQ(got->arguments, sent.arguments);
    EXPECT_FALSE(got->own);

    const CGPCommandLineInfo info = ParseCommandLine(got->arguments, got->workingDirectory);
    ASSERT_EQ(info.listMode, 1);
    const std::vector<fs::path> expected = {"/p/a b.jpg", "/home/u/Bilder mit Ä/sub/ä.jpg",
                                            "/home/u/Bilder mit Ä/line\nbreak.jpg",
                                            "/home/u/Bilder mit Ä/quote\"d.jpg"};
    // The empty argument is no path.
    EXPECT_EQ(info.fileList, expected);
}

TEST(InstanceRequests, RefusesWhatIsNoRequest) {
    InstanceRequest big;
    big.workingDirectory = "/w";
    big.arguments = {std::string(kMaxInstanceRequestBytes, 'x')};
    EXPECT_FALSE(EncodeInstanceRequest(big));

    // Exactly at the limit is taken; one byte more is not.
    const size_t fixed = kInstanceRequestHeader.size() + 1 + 2 + 1 + 1;
    std::string limit = "VellicorEX 1\0/w\0"s + std::string(kMaxInstanceRequestBytes - fixed, 'a') + '\0';
    ASSERT_EQ(limit.size(), kMaxInstanceRequestBytes);
    EXPECT_TRUE(DecodeInstanceRequest(limit));
    limit.insert(limit.begin() + 16, 'a');
    EXPECT_FALSE(DecodeInstanceRequest(limit));

    const std::vector<std::string> refused = {
        ""s,
        "VellicorEX 2\0/w\0a\0"s,
        "vellicorex 1\0/w\0"s,
        "VellicorEX 1\0/w\0a"s,     // no final NUL: cut off
        "VellicorEX 1\0"s,          // no working directory
        "VellicorEX 1\0rel/w\0"s,   // a relative working directory
        "VellicorEX 1\0\0a\0"s,
    };
    for (const std::string& bytes : refused) EXPECT_FALSE(DecodeInstanceRequest(bytes)) << bytes;
    const auto none = DecodeInstanceRequest("VellicorEX 1\0/w\0"s);
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->arguments.empty());
}

TEST(InstanceRequests, SocketPathMustFitAUnixSocket) {
    EXPECT_EQ(InstanceSocketPath("/var/tmp/TEVRA VellicorEX-1000"), fs::path("/var/tmp/TEVRA VellicorEX-1000/VellicorEx.ipc"));
    const std::string folder = "/" + std::string(kMaxSocketPathBytes - 1 - kInstanceSocketName.size() - 1, 'd');
    EXPECT_TRUE(InstanceSocketPath(folder));
    EXPECT_FALSE(InstanceSocketPath(folder + "d"));
}

struct FakeCommandLineHost : CommandLineHost {
    std::vector<std::string> calls;
    bool openSucceeds = true;
    bool queueKnown = true;
    bool active = false;
    DropDocument* ActiveDocument() override { return active ? reinterpret_cast<DropDocument*>(this) : nullptr; }
    bool OpenStartupLayout() override {
        calls.push_back("startup layout");
        return false;
    }
    void OpenStartupLayoutAtStart() override { calls.push_back("startup layout at start"); }
    bool OpenDocumentFile(const fs::path& path) override {
        calls.push_back("open " + path.string());
        return openSucceeds;
    }
    bool SetApplicationPrinter(const std::string& queue) override {
        calls.push_back("printer " + queue);
        return queueKnown;
    }
    void PrintNow() override { calls.push_back("print now"); }
};

TEST(InstanceRequests, ProcessCommandLineRunsWhatTheArgumentsAsk) {
    struct Case {
        std::vector<std::string> argv;
        bool own;
        bool active;
        bool openSucceeds;
        bool queueKnown;
        std::vector<std::string> calls;
        bool succeeded;
        bool layoutRequest;
        std::vector<int> messages;
    };
    const std::vector<Case> cases = {
        {{}, true, false, true, true, {"startup layout at start"}, true, false, {}},
        {{}, true, true, true, true, {}, true, false, {}},
        {{}, false, false, true, true, {}, true, false, {}},
        {{"-dde"}, false, false, true, true, {}, true, false, {}},
        {{"x.kqf"}, false, false, true, true, {"open /w/x.kqf"}, true, true, {}},
        {{"x.kqf"}, true, false, false, true, {"open /w/x.kqf"}, false, true, {}},
        {{"-p", "x.kqf"}, false, false, true, true, {"open /w/x.kqf", "print now"}, true, true, {}},
        {{"/p", "x.kqf"}, true, false, false, true, {"open /w/x.kqf"}, false, true, {}},
        {{"-pt", "x.kqf", "Q"}, false, false, true, true, {"printer Q", "open /w/x.kqf", "print now"}, true, true, {}},
        {{"-pt", "x.kqf", "Q"}, false, false, true, false, {"printer Q"}, false, true, {IDS_PRINTER_NOT_OPENED}},
        {{"-p"}, false, false, true, true, {}, false, true, {}},
        // No layout and none could be opened: the list is not imported.
        {{"-FM", "/p/a.jpg"}, false, false, true, true, {"startup layout"}, false, false, {}},
        {{"-VO2=missing.ini"}, false, false, true, true, {}, false, false, {IDS_FILE_NOT_READABLE}},
    };
    for (const Case& c : cases) {
        test::RecordingMessagePort messages;
        test::ScopedPorts ports(&messages);
        FakeCommandLineHost host;
        host.active = c.active;
        host.openSucceeds = c.openSucceeds;
        host.queueKnown = c.queueKnown;
        const CommandLineResult result = ProcessCommandLine(host, ParseCommandLine(c.argv, "/w"), c.own);
        const std::string label = c.argv.empty() ? "(none)" : c.argv.front();
        EXPECT_EQ(host.calls, c.calls) << label;
        EXPECT_EQ(result.succeeded, c.succeeded) << label;
        EXPECT_EQ(result.layoutRequest, c.layoutRequest) << label;
        EXPECT_EQ(messages.Ids(), c.messages) << label;
    }
}

TEST(InstanceRequests, QueueRunsInOrderOnlyWhenTheApplicationIsFree) {
    InstanceRequestQueue queue;
    std::vector<std::string> ran;
    const auto run = [&ran](const InstanceRequest& r) {
        ran.push_back(r.arguments.empty() ? "own" : r.arguments.front());
        return CommandLineResult{r.arguments.size() > 1, r.arguments.size() > 2};
    };
    queue.Push({"/w", {"a.kqf", "ok", "layout"}});
    queue.Push({"/w", {"b.kqf", "ok"}});
    queue.Push({"/w", {"c.kqf"}});
    queue.Push({"/w", {"d.kqf", "ok", "layout"}});

    InstanceQueueState free{true, true, false, false, false};
    const std::vector<InstanceQueueState> blocked = {
        {false, true, false, false, false},  // start-up not complete
        {true, false, false, false, false},  // a modal dialog or print job
        {true, true, true, false, false},    // busy
        {true, true, false, true, false},    // a direct print runs
        {true, true, false, false, true},    // inside a nested event loop
    };
    for (const InstanceQueueState& state : blocked) EXPECT_FALSE(queue.RunNext(state, run));
    EXPECT_TRUE(ran.empty());
    EXPECT_EQ(queue.Pending(), 4u);

    // The own command line arrives at the end of start-up, after the queued ones.
    queue.Push({"/w", {}, true});
    // A request that pumps events never starts another inside it.
    bool nested = true;
    EXPECT_TRUE(queue.RunNext(free, [&](const InstanceRequest& r) {
        nested = queue.RunNext(free, run);
        return run(r);
    }));
    EXPECT_FALSE(nested);
    while (queue.RunNext(free, run)) {
    }
    EXPECT_EQ(ran, (std::vector<std::string>{"a.kqf", "b.kqf", "c.kqf", "d.kqf", "own"}));
    EXPECT_EQ(queue.SucceededLayoutRequests(), 2);
    EXPECT_EQ(queue.Pending(), 0u);

    queue.Push({"/w", {"e.kqf"}});
    queue.Push({"/w", {"f.kqf"}});
    EXPECT_EQ(queue.Drop(), 2u);
    EXPECT_FALSE(queue.RunNext(free, run));
}

}  // namespace
}  // namespace vx
