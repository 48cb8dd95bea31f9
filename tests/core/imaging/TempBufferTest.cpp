#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include "imaging/TempBuffer.h"
#include "platform/system/Folders.h"
#include "support/TestFolders.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

class TempBufferTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(CreateTempFolder()); }
    void TearDown() override { EXPECT_TRUE(fs::is_empty(TempFolder())) << "a file was left behind"; }

    static std::vector<uint8_t> Counting(size_t n) {
        std::vector<uint8_t> v(n);
        std::iota(v.begin(), v.end(), uint8_t(1));
        return v;
    }
};

TEST_F(TempBufferTest, CreateWritesAPrivateFileThatReadAllGivesBack) {
    struct Case {
        const char* what;
        bool withData;
        size_t size;
    };
    const std::vector<Case> cases = {
        {"reserved", false, 100003}, {"reserved empty", false, 0}, {"written", true, 70001}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempBuffer buffer;
        EXPECT_FALSE(buffer.HasFile());
        const std::vector<uint8_t> data = Counting(c.size);
        ASSERT_TRUE(buffer.Create(c.withData ? data.data() : nullptr, c.size));
        ASSERT_TRUE(buffer.HasFile());
        EXPECT_EQ(buffer.Path().parent_path(), TempFolder());
        EXPECT_EQ(buffer.Path().filename().string().rfind("Vel", 0), 0u);

        struct stat st {};
        ASSERT_EQ(lstat(buffer.Path().c_str(), &st), 0);
        EXPECT_TRUE(S_ISREG(st.st_mode));
        EXPECT_EQ(st.st_mode & 07777, 0600u);
        EXPECT_EQ(uint64_t(st.st_size), c.size);
        // The blocks are reserved: writing through a mapping can never hit a full disk.
        EXPECT_GE(uint64_t(st.st_blocks) * 512, c.size);

        std::vector<uint8_t> back;
        ASSERT_TRUE(buffer.ReadAll(back));
        EXPECT_EQ(back, c.withData ? data : std::vector<uint8_t>(c.size, 0));
    }
}

TEST_F(TempBufferTest, CreateAgainReplacesTheOldFile) {
    TempBuffer buffer;
    ASSERT_TRUE(buffer.Create(nullptr, 10));
    const fs::path first = buffer.Path();
    const std::vector<uint8_t> data = Counting(5);
    ASSERT_TRUE(buffer.Create(data.data(), data.size()));
    EXPECT_FALSE(fs::exists(first));
    EXPECT_NE(buffer.Path(), first);

    // Never while mapped: the view would lose its file.
    void* view = nullptr;
    ASSERT_TRUE(buffer.Map(&view));
    EXPECT_FALSE(buffer.Create(nullptr, 3));
    EXPECT_EQ(std::memcmp(view, data.data(), 5), 0);
    buffer.Unmap();
}

TEST_F(TempBufferTest, NestedLocksShareOneWritableView) {
    TempBuffer buffer;
    const std::vector<uint8_t> data = Counting(8192);
    ASSERT_TRUE(buffer.Create(data.data(), data.size()));

    void* first = nullptr;
    void* second = nullptr;
    uint64_t size1 = 0, size2 = 0;
    ASSERT_TRUE(buffer.Map(&first, &size1, TempBuffer::kMapReadOnly));
    ASSERT_TRUE(buffer.Map(&second, &size2, TempBuffer::kMapReadWrite));
    EXPECT_EQ(first, second);
    EXPECT_EQ(size1, 8192u);
    EXPECT_EQ(size2, 8192u);
    static_cast<uint8_t*>(second)[4000] = 0xAB;  // a read-only view would fault here

    std::vector<uint8_t> back;
    ASSERT_TRUE(buffer.ReadAll(back));
    EXPECT_EQ(back[4000], 0xAB);

    EXPECT_FALSE(buffer.DeleteFile());
    ASSERT_TRUE(buffer.Unmap());
    EXPECT_FALSE(buffer.DeleteFile()) << "one lock is still held";
    ASSERT_TRUE(buffer.Unmap());
    const fs::path path = buffer.Path();
    EXPECT_TRUE(buffer.DeleteFile());
    EXPECT_FALSE(fs::exists(path));
    EXPECT_FALSE(buffer.HasFile());
    EXPECT_FALSE(buffer.DeleteFile());
}

TEST_F(TempBufferTest, MapRefusesWithoutABufferToMap) {
    void* view = nullptr;
    TempBuffer none;
    EXPECT_FALSE(none.Map(&view));

    TempBuffer empty;
    ASSERT_TRUE(empty.Create(nullptr, 0));
    EXPECT_FALSE(empty.Map(&view));
    EXPECT_EQ(view, nullptr);

    TempBuffer some;
    ASSERT_TRUE(some.Create(nullptr, 16));
    EXPECT_FALSE(some.Map(nullptr));
    // Failed maps took no lock: one Unmap releases the one real lock.
    ASSERT_TRUE(some.Map(&view));
    some.Unmap();
    EXPECT_TRUE(some.DeleteFile());
}

TEST_F(TempBufferTest, ReleaseClearsItsHolderAndTheLastOneDeletes) {
    auto* buffer = new TempBuffer;
    ASSERT_TRUE(buffer->Create(nullptr, 64));
    const fs::path path = buffer->Path();

    TempBuffer* a = nullptr;
    TempBuffer* b = nullptr;
    AssignTempBuffer(&a, buffer);
    AddRefTempBuffer(buffer);
    b = buffer;
    AssignTempBuffer(&a, a);  // assigning what it holds keeps it alive
    ASSERT_EQ(a, buffer);

    ReleaseTempBuffer(&a);
    EXPECT_EQ(a, nullptr);
    EXPECT_TRUE(fs::exists(path));
    ReleaseTempBuffer(&a);  // no-op: it would otherwise free b's buffer
    EXPECT_TRUE(fs::exists(path));
    EXPECT_TRUE(b->HasFile());

    ReleaseTempBuffer(&b);
    EXPECT_EQ(b, nullptr);
    EXPECT_FALSE(fs::exists(path));
    AddRefTempBuffer(nullptr);
    ReleaseTempBuffer(nullptr);
}

TEST_F(TempBufferTest, RefHoldersShareOneBuffer) {
    fs::path path;
    {
        TempBufferRef first(new TempBuffer);
        ASSERT_TRUE(first->Create(nullptr, 8));
        path = first->Path();
        TempBufferRef second = first;
        first.Release();
        EXPECT_FALSE(first);
        EXPECT_TRUE(fs::exists(path));
        TempBufferRef third;
        third.Assign(second.Get());
        second.Assign(nullptr);
        EXPECT_TRUE(fs::exists(path));
        EXPECT_EQ(third->Path(), path);
    }
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(TempBufferTest, DestroyingALockedBufferUnmapsAndDeletesItsFile) {
    auto* buffer = new TempBuffer;
    ASSERT_TRUE(buffer->Create(nullptr, 4096));
    const fs::path path = buffer->Path();
    void* view = nullptr;
    ASSERT_TRUE(buffer->Map(&view));
    ASSERT_TRUE(buffer->Map(&view));
    // A lock without a reference is a bug: debug builds stop on it.
    EXPECT_DEBUG_DEATH(delete buffer, "destroyed while locked");
#ifndef NDEBUG
    buffer->Unmap();
    buffer->Unmap();
    delete buffer;
#endif
    EXPECT_FALSE(fs::exists(path));
}

/// Lowers the file-size limit and ignores SIGXFSZ, so writes past the limit fail with
/// EFBIG as on a full disk; restores both.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &mOldLimit);
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigaction(SIGXFSZ, &ignore, &mOldAction);
        rlimit lowered = mOldLimit;
        lowered.rlim_cur = bytes;
        mActive = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &mOldLimit);
        sigaction(SIGXFSZ, &mOldAction, nullptr);
    }
    bool Active() const { return mActive; }

private:
    rlimit mOldLimit {};
    struct sigaction mOldAction {};
    bool mActive = false;
};

TEST_F(TempBufferTest, FullDiskLeavesNoFileAndNoPath) {
    const std::vector<uint8_t> data = Counting(256 * 1024);
    TempBuffer buffer;
    ASSERT_TRUE(buffer.Create(nullptr, 16));
    const fs::path old = buffer.Path();
    {
        FileSizeLimit limit(64 * 1024);
        ASSERT_TRUE(limit.Active());
        EXPECT_FALSE(buffer.Create(data.data(), data.size()));
        EXPECT_FALSE(buffer.HasFile());
        EXPECT_FALSE(buffer.Create(nullptr, data.size()));
        EXPECT_FALSE(buffer.HasFile());
        EXPECT_TRUE(buffer.Create(nullptr, 1024)) << "below the limit";
        EXPECT_TRUE(buffer.DeleteFile());
    }
    EXPECT_FALSE(fs::exists(old));
    struct rlimit now {};
    getrlimit(RLIMIT_FSIZE, &now);
    EXPECT_EQ(now.rlim_cur, RLIM_INFINITY);
    struct sigaction action {};
    sigaction(SIGXFSZ, nullptr, &action);
    EXPECT_EQ(action.sa_handler, SIG_DFL);
}

TEST_F(TempBufferTest, MissingFolderGivesNoFile) {
    test::TestRoot root;
    test::ScopedEnv t("VELLICOREX_TEMP_DIR", (root.Path() / "gone").string());
    TempBuffer buffer;
    EXPECT_FALSE(buffer.Create(nullptr, 8));
    EXPECT_FALSE(buffer.HasFile());
    std::vector<uint8_t> out(3);
    EXPECT_FALSE(buffer.ReadAll(out));
    EXPECT_TRUE(out.empty());
}

/// Whether the process maps the file at path.
bool Mapped(const fs::path& path) {
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line))
        if (line.find(path.string()) != std::string::npos) return true;
    return false;
}

TEST_F(TempBufferTest, UnlockedViewsStayMappedOutOfSightWithinALimit) {
    TempBuffer buffer;
    const std::vector<uint8_t> data = Counting(4096);
    ASSERT_TRUE(buffer.Create(data.data(), data.size()));
    void* view = nullptr;
    ASSERT_TRUE(buffer.Map(&view));
    ASSERT_TRUE(buffer.Unmap());
    EXPECT_EQ(buffer.View(), nullptr);
    EXPECT_TRUE(Mapped(buffer.Path()));
    void* again = nullptr;
    uint64_t size = 0;
    ASSERT_TRUE(buffer.Map(&again, &size));
    EXPECT_EQ(again, view);
    EXPECT_EQ(size, 4096u);
    EXPECT_EQ(static_cast<uint8_t*>(again)[10], 11);
    ASSERT_TRUE(buffer.Unmap());

    // Deleting or re-creating the file lets go of it.
    const fs::path old = buffer.Path();
    ASSERT_TRUE(buffer.Create(data.data(), 100));
    EXPECT_FALSE(Mapped(old));
    ASSERT_TRUE(buffer.Map(&view, &size));
    EXPECT_EQ(size, 100u);
    ASSERT_TRUE(buffer.Unmap());
    const fs::path current = buffer.Path();
    ASSERT_TRUE(buffer.DeleteFile());
    EXPECT_FALSE(Mapped(current));

    // Dropping the kept view unmaps it at once, never a locked one; the bytes stay.
    ASSERT_TRUE(buffer.Create(data.data(), 100));
    ASSERT_TRUE(buffer.Map(&view, &size));
    buffer.DropParkedView();
    EXPECT_TRUE(Mapped(buffer.Path()));
    EXPECT_EQ(static_cast<uint8_t*>(view)[10], data[10]);
    ASSERT_TRUE(buffer.Unmap());
    EXPECT_TRUE(Mapped(buffer.Path()));
    buffer.DropParkedView();
    EXPECT_FALSE(Mapped(buffer.Path()));
    ASSERT_TRUE(buffer.Map(&view, &size, TempBuffer::kMapReadOnly));
    EXPECT_EQ(static_cast<uint8_t*>(view)[10], data[10]);
    ASSERT_TRUE(buffer.Unmap());
    ASSERT_TRUE(buffer.DeleteFile());

    // Past the count the view given back first goes.
    std::vector<std::unique_ptr<TempBuffer>> many;
    for (size_t i = 0; i <= TempBuffer::kParkedViews; ++i) {
        many.push_back(std::make_unique<TempBuffer>());
        ASSERT_TRUE(many.back()->Create(data.data(), 16));
        ASSERT_TRUE(many.back()->Map(&view));
        many.back()->Unmap();
    }
    EXPECT_FALSE(Mapped(many.front()->Path()));
    EXPECT_TRUE(Mapped(many[1]->Path()));
    EXPECT_TRUE(Mapped(many.back()->Path()));
    many.clear();
}

}  // namespace
}  // namespace vx
