// The running program in this process, later starts of the built program beside it.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <wx/app.h>

#include "../ui/ProgramRun.h"
#include "app/AppCore.h"
#include "core/document/PrintCommandsFixture.h"
#include "core/imaging/JpegFixtures.h"
#include "document/LayoutXmlReader.h"
#include "document/LayoutXmlWriter.h"
#include "model/CLayoutObj.h"
#include "model/CLayoutSetting.h"
#include "platform/system/Folders.h"
#include "support/RunCommand.h"
#include "support/TestFolders.h"
#include "support/printing/FileQueueOutput.h"
#include "ui/CGPApp.h"
#include "ui/CMainFrame.h"
#include "ui/document/GPDocument.h"
#include "ui/shell/GPView.h"

// Last: Xlib defines names such as Status as macros.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

extern char** environ;

namespace fs = std::filesystem;

wxIMPLEMENT_APP_NO_MAIN(CGPApp);

namespace {

CGPApp& App() { return wxGetApp(); }

void Pump() {
    wxTheApp->Yield(true);
    wxTheApp->ProcessPendingEvents();
    wxTheApp->ProcessIdle();
    wxMilliSleep(10);
}

/// Pumps events until done answers true or seconds pass.
bool PumpUntil(const std::function<bool()>& done, double seconds = 20) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (done()) return true;
        Pump();
    }
    return done();
}

/// The built program, started in folder with the environment's folders replaced.
pid_t Spawn(const std::vector<std::string>& arguments, const fs::path& folder,
            const std::vector<std::string>& environment = {}) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        bool replaced = false;
        for (const std::string& own : environment)
            replaced |= entry.compare(0, own.find('=') + 1, own, 0, own.find('=') + 1) == 0;
        if (!replaced) env.push_back(entry);
    }
    env.insert(env.end(), environment.begin(), environment.end());
    std::vector<std::string> args = {VX_PROGRAM};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv, envp;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    pid_t pid = -1;
    const int error = posix_spawn(&pid, VX_PROGRAM, &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? pid : -1;
}

/// The child's exit status once it ended while this process kept serving; -1 when it
/// did not end in time (it is killed then).
int WaitServing(pid_t pid, double seconds = 20) {
    int status = 0;
    const bool ended = PumpUntil([&] { return waitpid(pid, &status, WNOHANG) == pid; }, seconds);
    if (!ended) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

vx::CLayoutSetting* ActiveLayout() {
    vx::GPDocument* doc = vx::test::OpenDocument();
    return doc ? doc->Core().GetLayout() : nullptr;
}

int ImageItems() {
    const vx::CLayoutSetting* layout = ActiveLayout();
    int n = 0;
    for (const vx::CLayoutObj* item = layout ? layout->GetFirstItem() : nullptr; item; item = item->NextItem())
        n += item->GetKind() == 1;
    return n;
}

void WriteText(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

using vx::test::kShippedFileQueue;
using vx::test::PdfsIn;
using vx::test::Shot;

/// The temporary folder a run makes in the place VELLICOREX_TEMP_DIR names: named as
/// this process's own.
fs::path OwnTempFolderIn(const fs::path& place) { return place / vx::TempFolder().filename(); }

/// A run of the program in folders of its own under base; it prints into Output().
struct OwnRun {
    fs::path base;
    std::vector<std::string> env;
    explicit OwnRun(const fs::path& folder)
        : base(folder),
          env{"VELLICOREX_USER_DIR=" + (folder / "user").string(), "VELLICOREX_TEMP_DIR=" + (folder / "temp").string()} {
        fs::create_directories(Output());
        fs::create_directories(base / "user");
        vx::test::WriteShippedFileQueue(base / "user", Output());
    }
    fs::path Output() const { return base / "Druckausgabe"; }
    /// The program's own folder in the place named for it.
    fs::path Temp() const { return OwnTempFolderIn(base / "temp"); }
    fs::path Socket() const { return Temp() / "VellicorEx.ipc"; }
    fs::path LockFile() const { return base / "user" / "VellicorEx.exe"; }
    pid_t Start(const std::vector<std::string>& arguments, const fs::path& folder) const {
        return Spawn(arguments, folder, env);
    }
};

/// The serving socket's inode, 0 while there is none.
ino_t SocketInode(const fs::path& socket) {
    struct stat info {};
    return lstat(socket.c_str(), &info) == 0 && S_ISSOCK(info.st_mode) ? info.st_ino : 0;
}

/// The process id the lock file names; 0 while there is none.
pid_t LockOwner(const fs::path& lockFile) {
    std::ifstream in(lockFile, std::ios::binary);
    long pid = 0;
    return in >> pid ? pid_t(pid) : 0;
}

bool Running(pid_t pid) { return waitpid(pid, nullptr, WNOHANG) == 0; }

/// The title of the top-level window larger than the splash that pid shows (its main
/// window, shown once start-up reaches its last steps); nullopt while there is none.
std::optional<std::string> MainWindowTitle(pid_t pid) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return std::nullopt;
    std::optional<std::string> title;
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", True);
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (pidAtom != None && XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) {
        for (unsigned i = 0; i < count && !title; ++i) {
            Atom type = None;
            int format = 0;
            unsigned long items = 0, after = 0;
            unsigned char* data = nullptr;
            if (XGetWindowProperty(display, children[i], pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &items,
                                   &after, &data) != Success || !data)
                continue;
            const bool ours = items == 1 && format == 32 && pid_t(*reinterpret_cast<unsigned long*>(data)) == pid;
            XFree(data);
            XWindowAttributes attributes {};
            if (!ours || !XGetWindowAttributes(display, children[i], &attributes) ||
                attributes.map_state != IsViewable || attributes.width < 400)
                continue;
            char* name = nullptr;
            title = XFetchName(display, children[i], &name) && name ? std::string(name) : std::string();
            if (name) XFree(name);
        }
        if (children) XFree(children);
    }
    XCloseDisplay(display);
    return title;
}

/// The page count pdfinfo reads from pdf; 0 while it cannot read it (not written yet).
int PdfPages(const fs::path& pdf) {
    const std::string out = vx::test::RunCommand("pdfinfo '" + pdf.string() + "' 2>/dev/null");
    const size_t at = out.find("Pages:");
    return at == std::string::npos ? 0 : std::atoi(out.c_str() + at + 6);
}

/// The names below folder, sorted; empty when it is gone.
std::vector<std::string> Listing(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(folder, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error))
        names.push_back(it->path().lexically_relative(folder).string());
    std::sort(names.begin(), names.end());
    return names;
}

class SingleInstance : public testing::Test {
protected:
    static void SetUpTestSuite() {
        program = new vx::test::ProgramRun([](const fs::path& root) {
            // The shipped file queue is the only printer; print requests write into Output().
            cups = new vx::test::ScopedEnv("CUPS_SERVER", (root / "no-cups.sock").string());
            fs::create_directories(root / "user");
            fs::create_directories(root / "Druckausgabe");
            vx::test::WriteShippedFileQueue(root / "user", root / "Druckausgabe");
        });
        hook = &program->Hook();
        started = program->Started() && App().MainFrame();
        // The own command line runs after start-up: it opens the new layout.
        if (started) PumpUntil([] { return ActiveLayout() != nullptr; });
    }
    static void TearDownTestSuite() {
        delete program;
        program = nullptr;
        delete cups;
        cups = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(started) << "start-up refused";
        ASSERT_NE(ActiveLayout(), nullptr);
    }
    static fs::path Output() { return program->Root() / "Druckausgabe"; }
    /// Writes folder/name: the program's own new layout on the file queue, with two
    /// pictures and installed profiles, so that opening it asks nothing. Its page count.
    static int WritePrintLayout(const fs::path& folder, const char* name = "x.kqf") {
        fs::create_directories(folder);
        const fs::path file = folder / name;
        auto layout = App().Core()->CreateDefaultLayout(nullptr, nullptr);
        if (!layout) return 0;
        layout->Texts().printerName = kShippedFileQueue;
        vx::test::AddJpegItem(*layout, folder / "a.jpg", 720, 720, 40);
        vx::test::AddJpegItem(*layout, folder / "b.jpg", 720, layout->GetPaper().y + 720, 200);
        if (!vx::SaveLayoutXml(file, *layout)) return 0;
        // Read back here, where the hook accepts the default profiles, and saved with them.
        vx::LayoutLoad load = vx::LoadLayoutXml(file);
        if (!load.Ok() || !vx::SaveLayoutXml(file, *load.layout)) return 0;
        return load.layout->GetPageNumber();
    }
    static fs::path Images() {
        const fs::path folder = program->Root() / "p";
        if (!fs::exists(folder / "a.jpg")) {
            vx::test::JpegFixture jpeg;
            jpeg.width = 400;
            jpeg.height = 300;
            jpeg.pixel = [](int x, int, uint8_t* c) {
                c[0] = uint8_t(x * 4);
                c[1] = 90;
                c[2] = 200;
            };
            fs::create_directories(folder);
            vx::test::WriteBytes(folder / "a.jpg", vx::test::EncodeJpeg(jpeg));
            vx::test::WriteBytes(folder / "b.jpg", vx::test::EncodeJpeg(jpeg));
        }
        return folder;
    }

    static inline vx::test::ProgramRun* program = nullptr;
    static inline vx::test::ScopedEnv* cups = nullptr;
    static inline vx::test::AnsweringHook* hook = nullptr;
    static inline bool started = false;
};

TEST_F(SingleInstance, TheFirstServesItsSocketInAPrivateFolder) {
    EXPECT_TRUE(fs::exists(program->Root() / "user" / "VellicorEx.exe"));
    const fs::path socket = vx::TempFolder() / "VellicorEx.ipc";
    struct stat info {};
    ASSERT_EQ(lstat(socket.c_str(), &info), 0);
    EXPECT_TRUE(S_ISSOCK(info.st_mode));
    ASSERT_EQ(stat(vx::TempFolder().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(info.st_uid, getuid());
}

TEST_F(SingleInstance, LaterStartsHandOverTheirImagesAndExit0) {
    const fs::path images = Images();
    const int before = ImageItems();
    const size_t asked = hook->shown.size();

    // A bare start only raises the running window.
    EXPECT_EQ(WaitServing(Spawn({}, program->Root())), 0);
    PumpUntil([] { return false; }, 0.3);
    EXPECT_EQ(ImageItems(), before);
    EXPECT_EQ(hook->shown.size(), asked);

    // Every FM form takes the paths after it, relative ones from the sender's folder.
    const std::vector<std::vector<std::string>> forms = {
        {"-FM", (images / "a.jpg").string(), (images / "b.jpg").string()},
        {"/FM", "a.jpg", "b.jpg"},
        {"-FM=" + (images / "a.jpg").string(), "b.jpg"},
    };
    int expected = before;
    for (const auto& form : forms) {
        EXPECT_EQ(WaitServing(Spawn(form, images)), 0) << form.front();
        expected += 2;
        EXPECT_TRUE(PumpUntil([&] { return ImageItems() == expected; })) << form.front() << ": " << ImageItems();
    }
    ASSERT_GT(hook->shown.size(), asked);
    EXPECT_EQ(hook->shown.back().rfind("Vellicor EX wurde von einem anderen Programm aufgerufen.", 0), 0u);
    PumpUntil([] { return false; }, 0.5);
    Shot(App().MainFrame(), "instance/handed-over-images.png");
}

TEST_F(SingleInstance, AListFileFromAnotherFolderIsImportedAndDeleted) {
    const fs::path images = Images();
    const fs::path other = program->Root() / "other";
    const fs::path list = other / "lists" / "l.ini";
    WriteText(list, "[ENTRY]\nEntryNum=3\n[IMAGE01]\nPATH=\"" + (images / "a.jpg").string() + "\"\n[IMAGE03]\nPATH=" +
                        (images / "b.jpg").string() + "\n");
    const int before = ImageItems();
    EXPECT_EQ(WaitServing(Spawn({"-VO2=lists/l.ini"}, other)), 0);
    EXPECT_TRUE(PumpUntil([&] { return ImageItems() == before + 2 && !fs::exists(list); }))
        << ImageItems() << " images, list " << (fs::exists(list) ? "kept" : "gone");
}

TEST_F(SingleInstance, AfterAKilledFirstTheNextStartIsFirst) {
    // A run of its own, in folders of its own.
    const fs::path base = program->Root() / "k";
    const std::vector<std::string> env = {"VELLICOREX_USER_DIR=" + (base / "user").string(),
                                          "VELLICOREX_TEMP_DIR=" + (base / "temp").string()};
    const fs::path socket = OwnTempFolderIn(base / "temp") / "VellicorEx.ipc";
    fs::create_directories(base);
    const pid_t first = Spawn({}, base, env);
    ASSERT_GT(first, 0);
    struct stat info {};
    ASSERT_TRUE(PumpUntil([&] { return lstat(socket.c_str(), &info) == 0; }, 20)) << "the first never served";
    // The next socket may get the freed inode again: its time tells it apart too.
    const ino_t oldSocket = info.st_ino;
    const timespec oldTime = info.st_mtim;
    kill(first, SIGKILL);
    waitpid(first, nullptr, 0);
    ASSERT_TRUE(fs::exists(base / "user" / "VellicorEx.exe")) << "a killed run leaves its lock file";

    const pid_t next = Spawn({}, base, env);
    ASSERT_GT(next, 0);
    const bool served =
        PumpUntil([&] {
            return LockOwner(base / "user" / "VellicorEx.exe") == next && lstat(socket.c_str(), &info) == 0 &&
                   (info.st_ino != oldSocket || info.st_mtim.tv_sec != oldTime.tv_sec ||
                    info.st_mtim.tv_nsec != oldTime.tv_nsec);
        }, 20);
    int status = 0;
    EXPECT_EQ(waitpid(next, &status, WNOHANG), 0) << "the next start ended instead of running";
    EXPECT_TRUE(served) << "the next start does not serve the socket";
    // Ending it like a session's end, once its start-up ran: its folder goes, then its lock.
    PumpUntil([] { return false; }, 4);
    kill(next, SIGTERM);
    EXPECT_EQ(WaitServing(next), 0);
    EXPECT_FALSE(fs::exists(OwnTempFolderIn(base / "temp")));
    EXPECT_FALSE(fs::exists(base / "user" / "VellicorEx.exe"));
}

// A user may name a folder of their own as the temporary place: the program makes its
// folder in it, empties only that at start and removes only that at exit.
TEST_F(SingleInstance, ATemporaryPlaceOfTheUsersOwnIsLeftAsItWas) {
    const fs::path base = program->Root() / "own-place";
    const fs::path place = base / "Schnelle Platte";
    const fs::path own = OwnTempFolderIn(place);
    WriteText(place / "keepme.txt", "mine");
    WriteText(place / "sub" / "y.txt", "mine too");
    chmod(place.c_str(), 0755);
    const std::map<std::string, std::string> before = vx::test::FolderContents(place);
    WriteText(own / "Vel123", "left by a crashed run");
    fs::create_directories(base / "user");
    const std::vector<std::string> env = {"VELLICOREX_USER_DIR=" + (base / "user").string(),
                                          "VELLICOREX_TEMP_DIR=" + place.string()};
    const pid_t run = Spawn({}, base, env);
    ASSERT_GT(run, 0);
    // The socket is served from the folder once it has been made and emptied.
    EXPECT_TRUE(PumpUntil([&] { return SocketInode(own / "VellicorEx.ipc") != 0; }, 30)) << "it never served";
    struct stat info {};
    EXPECT_EQ(lstat(own.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0700u);
    EXPECT_FALSE(fs::exists(own / "Vel123"));
    std::map<std::string, std::string> during = vx::test::FolderContents(place);
    std::erase_if(during, [&](const auto& e) { return fs::path(e.first).begin()->string() == own.filename().string(); });
    EXPECT_EQ(during, before);

    PumpUntil([] { return false; }, 4);  // its start-up runs to the end
    kill(run, SIGTERM);
    EXPECT_EQ(WaitServing(run), 0);
    EXPECT_FALSE(fs::exists(own));
    EXPECT_EQ(vx::test::FolderContents(place), before);
}

TEST_F(SingleInstance, APrintRequestOpensTheLayoutAndPrintsItThroughTheFileQueue) {
    if (std::system("command -v pdfinfo >/dev/null 2>&1") != 0) GTEST_SKIP() << "pdfinfo is not installed";
    const fs::path layouts = program->Root() / "print";
    const int pages = WritePrintLayout(layouts);
    ASSERT_GT(pages, 0);

    // The path is relative: the running program resolves it from the sender's folder.
    EXPECT_EQ(WaitServing(Spawn({"-p", "x.kqf"}, layouts), 30), 0);
    const auto opened = [&] {
        const vx::CLayoutSetting* open = ActiveLayout();
        return open && fs::path(open->Texts().documentPath) == layouts / "x.kqf";
    };
    std::vector<fs::path> pdfs;
    const bool printed = PumpUntil(
        [&] {
            pdfs = PdfsIn(Output());
            return opened() && pdfs.size() == 1 && PdfPages(pdfs[0]) == pages;
        },
        60);
    EXPECT_TRUE(printed) << pdfs.size() << " PDF(s) in " << Output() << ", "
                         << (pdfs.empty() ? 0 : PdfPages(pdfs[0])) << " page(s) of " << pages;
    EXPECT_TRUE(opened());
    PumpUntil([] { return false; }, 0.5);
    EXPECT_EQ(PdfsIn(Output()).size(), 1u) << "one print, not one per request";
    Shot(App().MainFrame(), "instance/printed-request.png");
}

TEST_F(SingleInstance, AFirstStartWithAPrintRequestPrintsAfterItsStartUp) {
    if (std::system("command -v pdfinfo >/dev/null 2>&1") != 0) GTEST_SKIP() << "pdfinfo is not installed";
    const OwnRun run(program->Root() / "first-print");
    const fs::path layouts = run.base / "Layouts";
    const int pages = WritePrintLayout(layouts);
    ASSERT_GT(pages, 0);
    const pid_t first = run.Start({"-p", "x.kqf"}, layouts);
    ASSERT_GT(first, 0);
    std::vector<fs::path> pdfs;
    const bool printed = PumpUntil(
        [&] {
            pdfs = PdfsIn(run.Output());
            return pdfs.size() == 1 && PdfPages(pdfs[0]) == pages;
        },
        60);
    EXPECT_TRUE(printed) << pdfs.size() << " PDF(s) in " << run.Output();
    EXPECT_TRUE(Running(first)) << "the program stays open after printing";
    // Printing leaves the layout modified: a close would ask to save it, and nobody
    // answers in that process.
    kill(first, SIGKILL);
    waitpid(first, nullptr, 0);
}

TEST_F(SingleInstance, AStartDuringTheFirstsExitBecomesFirstOnceTheFirstIsGone) {
    struct Case {
        const char* name;
        bool startedUp;  // quit once its main window shows, else in the splash pause
    };
    const auto check = [&](const Case& c) {
        const OwnRun run(program->Root() / "exit" / c.name);
        // Started up, the first shows a layout of its own: a bare start would wait in
        // the template chooser.
        const fs::path layouts = run.base / "Layouts";
        ASSERT_GT(WritePrintLayout(layouts, "Abschied.kqf"), 0);
        const pid_t first = c.startedUp ? run.Start({"Abschied.kqf"}, layouts) : run.Start({}, run.base);
        ASSERT_GT(first, 0);
        ASSERT_TRUE(PumpUntil([&] { return SocketInode(run.Socket()) != 0; }, 30)) << "the first never served";
        // A handed-over start proves the first is serving; its working file stands for
        // the bitmaps and print bands a run keeps in its folder.
        ASSERT_EQ(WaitServing(run.Start({}, run.base), 30), 0);
        if (c.startedUp) {
            // Its own command line runs last, after start-up and the requests before it.
            ASSERT_TRUE(PumpUntil(
                [&] { return MainWindowTitle(first).value_or("").find("Abschied") != std::string::npos; }, 30))
                << "the layout never opened: " << MainWindowTitle(first).value_or("no main window");
        }
        WriteText(run.Temp() / "Arbeit" / "band-0001.tmp", "in use");
        ASSERT_EQ(LockOwner(run.LockFile()), first);

        // Asked to quit, the first stops serving first; it is held right there, inside
        // its exit, so that the second start surely comes while the first still runs.
        kill(first, SIGTERM);
        const auto quitting = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (SocketInode(run.Socket()) != 0 && std::chrono::steady_clock::now() < quitting) usleep(200);
        kill(first, SIGSTOP);
        EXPECT_EQ(SocketInode(run.Socket()), 0u) << "the first kept serving after it was asked to quit";
        const std::vector<std::string> held = Listing(run.Temp());
        const bool lockHeld = LockOwner(run.LockFile()) == first;

        const pid_t second = run.Start({}, run.base);
        ASSERT_GT(second, 0);
        // While the first holds the lock, nothing in its folder changes; the second
        // keeps trying for 5 s, so a hold of 1.5 s leaves it time to take over.
        bool untouched = true;
        PumpUntil(
            [&] {
                if (lockHeld && Listing(run.Temp()) != held) untouched = false;
                return !untouched;
            },
            1.5);
        EXPECT_TRUE(untouched) << "the folder of the first changed while it held the lock";
        if (lockHeld) {
            EXPECT_EQ(SocketInode(run.Socket()), 0u) << "the second served while the first held the lock";
        }
        EXPECT_TRUE(Running(second)) << "the second start ended while the first was still exiting";
        kill(first, SIGCONT);

        // The first ends normally; the second becomes first and serves its own socket
        // (after its 5 s it would give up and never serve).
        EXPECT_EQ(WaitServing(first, 30), 0);
        EXPECT_TRUE(PumpUntil([&] { return SocketInode(run.Socket()) != 0; }, 20)) << "the second never served";
        EXPECT_TRUE(Running(second));
        EXPECT_EQ(LockOwner(run.LockFile()), second);
        EXPECT_FALSE(fs::exists(run.Temp() / "Arbeit")) << "the first's working files outlived it";

        // The first's exit left the second's folder alone: a third start hands over to it.
        EXPECT_EQ(WaitServing(run.Start({}, run.base), 30), 0);
        EXPECT_TRUE(Running(second));
        kill(second, SIGTERM);
        EXPECT_EQ(WaitServing(second, 30), 0);
        EXPECT_FALSE(fs::exists(run.Temp()));
        EXPECT_FALSE(fs::exists(run.LockFile()));
    };
    for (const Case& c : {Case{"during-start-up", false}, Case{"after-start-up", true}}) {
        SCOPED_TRACE(c.name);
        check(c);
    }
}

}  // namespace
