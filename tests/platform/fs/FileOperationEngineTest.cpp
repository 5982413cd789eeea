#include "platform/fs/FileOperationEngine.h"
#include "platform/Trash.h"
#include "support/ScriptedFileOperationDialogs.h"
#include "support/TempDir.h"
#include "support/TmpfsMount.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A volume without a trash: deleting asks to delete for good.
class NoTrash : public Trash {
  public:
    Outcome moveToTrash(const std::string&) override { return {Result::NoTrash, "no trash"}; }
};

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* e = readdir(dir))
            if (std::string_view(e->d_name) != "." && std::string_view(e->d_name) != "..")
                names.emplace_back(e->d_name);
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

struct stat statOf(const std::string& path) {
    struct stat st {};
    lstat(path.c_str(), &st);
    return st;
}

bool exists(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0;
}

std::string linkOf(const std::string& path) {
    char buffer[4096];
    const ssize_t n = readlink(path.c_str(), buffer, sizeof buffer);
    return n < 0 ? std::string() : std::string(buffer, static_cast<std::size_t>(n));
}

class FileOperationEngineTest : public ::testing::Test {
  protected:
    bool run(FileOperationKind kind, std::vector<std::string> sources, std::string destination) {
        FileOperationRequest request;
        request.kind = kind;
        request.sources = std::move(sources);
        request.destination = std::move(destination);
        return engine.run(request);
    }
    bool copy(std::vector<std::string> sources, std::string destination) {
        return run(FileOperationKind::Copy, std::move(sources), std::move(destination));
    }
    bool move(std::vector<std::string> sources, std::string destination) {
        return run(FileOperationKind::Move, std::move(sources), std::move(destination));
    }
    // A second file system inside the temporary folder, or the test is skipped.
    std::unique_ptr<TmpfsMount> mountAt(const std::string& folder, const std::string& options) {
        auto mount = std::make_unique<TmpfsMount>(tmp.mkdir(folder), options);
        return mount->mounted() ? std::move(mount) : nullptr;
    }
    // No temporary leftover and nothing else than `names` in the folder.
    void expectOnly(const std::string& folder, std::vector<std::string> names) {
        std::sort(names.begin(), names.end());
        EXPECT_EQ(namesIn(folder), names) << folder;
    }

    TempDir tmp;
    ScriptedFileOperationDialogs dialogs;
    ScriptedProgress progress;
    NoTrash trash;
    FileOperationEngine engine{dialogs, progress, trash};
};

TEST_F(FileOperationEngineTest, CopyKeepsContentModeTimesAndLinksAsLinks) {
    const std::string file = tmp.write("src/tree/a.txt", "alpha");
    chmod(file.c_str(), 0640);
    const timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
    utimensat(AT_FDCWD, file.c_str(), old, 0);
    tmp.write("outside/secret", "s");
    symlink((tmp / "outside").c_str(), (tmp / "src/tree/out").c_str());
    symlink("loop2", (tmp / "src/tree/loop1").c_str());
    symlink("loop1", (tmp / "src/tree/loop2").c_str());
    symlink("..", (tmp / "src/tree/up").c_str());
    chmod((tmp / "src/tree").c_str(), 0750);
    tmp.mkdir("dst");

    EXPECT_TRUE(copy({tmp / "src/tree", tmp / "src/tree/a.txt"}, tmp / "dst"));

    expectOnly(tmp / "dst", {"a.txt", "tree"});
    expectOnly(tmp / "dst/tree", {"a.txt", "loop1", "loop2", "out", "up"});
    EXPECT_EQ(TempDir::read(tmp / "dst/tree/a.txt"), "alpha");
    EXPECT_EQ(statOf(tmp / "dst/a.txt").st_mode & 07777, 0640u);
    EXPECT_EQ(statOf(tmp / "dst/tree/a.txt").st_mtim.tv_sec, 1000000000);
    EXPECT_EQ(statOf(tmp / "dst/tree").st_mode & 07777, 0750u);
    EXPECT_EQ(linkOf(tmp / "dst/tree/out"), tmp / "outside");
    EXPECT_EQ(linkOf(tmp / "dst/tree/loop1"), "loop2");
    EXPECT_EQ(linkOf(tmp / "dst/tree/up"), "..");
    EXPECT_TRUE(S_ISLNK(statOf(tmp / "dst/tree/up").st_mode));
    EXPECT_EQ(progress.last.itemsDone, progress.last.itemsTotal);
    EXPECT_EQ(progress.last.bytesDone, 10u);
    EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(FileOperationEngineTest, CopyIntoItsOwnFolderKeepsBothWithAFreeName) {
    const std::string file = tmp.write("f/a.txt", "1");
    const std::string folder = tmp.mkdir("f/sub");
    EXPECT_TRUE(copy({file, file, folder}, tmp / "f"));
    expectOnly(tmp / "f", {"a (2).txt", "a (3).txt", "a.txt", "sub", "sub (2)"});
    const std::string longName(255, 'x');
    tmp.write("f/" + longName, "2");
    EXPECT_TRUE(copy({tmp / ("f/" + longName)}, tmp / "f"));
    EXPECT_EQ(TempDir::read(tmp / ("f/" + std::string(251, 'x') + " (2)")), "2");
}

TEST_F(FileOperationEngineTest, FolderIntoItselfOrBelowIsRefused) {
    tmp.write("f/sub/a", "1");
    for (const bool moving : {false, true}) {
        for (const std::string& target : {tmp / "f", tmp / "f/sub"}) {
            dialogs.asked.clear();
            EXPECT_FALSE(moving ? move({tmp / "f"}, target) : copy({tmp / "f"}, target));
            ASSERT_EQ(dialogs.asked.size(), 1u);
            EXPECT_EQ(dialogs.asked[0].rfind("refused ", 0), 0u);
        }
    }
    expectOnly(tmp / "f", {"sub"});
    expectOnly(tmp / "f/sub", {"a"});
}

TEST_F(FileOperationEngineTest, EmptyListDoesNothingAndIsNotDone) {
    for (auto kind : {FileOperationKind::Copy, FileOperationKind::Move, FileOperationKind::Delete})
        EXPECT_FALSE(run(kind, {}, tmp.path()));
    EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(FileOperationEngineTest, ConflictAnswers) {
    struct Case {
        ConflictChoice choice;
        bool done;
        std::vector<std::string> names;
        std::string content;
    } cases[] = {
        {ConflictChoice::Replace, true, {"a"}, "new"},
        {ConflictChoice::Skip, false, {"a"}, "old"},
        {ConflictChoice::KeepBoth, true, {"a", "a (2)"}, "old"},
        {ConflictChoice::Cancel, false, {"a"}, "old"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        dir.write("src/a", "new");
        dir.write("dst/a", "old");
        dialogs.conflictAnswers = {{c.choice, false}};
        EXPECT_EQ(copy({dir / "src/a"}, dir / "dst"), c.done);
        expectOnly(dir / "dst", c.names);
        EXPECT_EQ(TempDir::read(dir / "dst/a"), c.content);
    }
}

TEST_F(FileOperationEngineTest, ReplaceMergesFoldersAndSwapsKindsAndAppliesToAll) {
    tmp.write("src/d/x", "new x");
    tmp.write("src/d/y", "new y");
    tmp.write("src/f/inner", "folder now");
    tmp.write("dst/d/x", "old x");
    tmp.write("dst/d/keep", "kept");
    tmp.write("dst/f", "was a file");
    dialogs.conflictAnswers = {{ConflictChoice::Replace, true}};
    EXPECT_TRUE(move({tmp / "src/d", tmp / "src/f"}, tmp / "dst"));
    EXPECT_EQ(dialogs.asked.size(), 1u);
    expectOnly(tmp / "dst", {"d", "f"});
    expectOnly(tmp / "dst/d", {"keep", "x", "y"});
    EXPECT_EQ(TempDir::read(tmp / "dst/d/x"), "new x");
    EXPECT_EQ(TempDir::read(tmp / "dst/f/inner"), "folder now");
    expectOnly(tmp / "src", {});
}

TEST_F(FileOperationEngineTest, MoveWithinAFileSystemRenames) {
    const std::string file = tmp.write("src/a", "1");
    const ino_t inode = statOf(file).st_ino;
    tmp.mkdir("dst");
    EXPECT_TRUE(move({file}, tmp / "dst"));
    EXPECT_EQ(statOf(tmp / "dst/a").st_ino, inode);
    EXPECT_FALSE(exists(file));
    EXPECT_TRUE(move({tmp / "dst/a"}, tmp / "dst")); // into its own folder: nothing to do
    expectOnly(tmp / "dst", {"a"});
}

TEST_F(FileOperationEngineTest, MoveAcrossFileSystemsCopiesThenRemovesTheSource) {
    auto other = mountAt("other", "size=16m");
    if (!other)
        GTEST_SKIP() << "cannot mount a tmpfs here";
    tmp.write("src/d/a", std::string(100000, 'a'));
    symlink("a", (tmp / "src/d/link").c_str());
    tmp.write("src/b", "b");
    EXPECT_TRUE(move({tmp / "src/d", tmp / "src/b"}, tmp / "other"));
    expectOnly(tmp / "src", {});
    expectOnly(tmp / "other", {"b", "d"});
    EXPECT_EQ(TempDir::read(tmp / "other/d/a"), std::string(100000, 'a'));
    EXPECT_EQ(linkOf(tmp / "other/d/link"), "a");
}

TEST_F(FileOperationEngineTest, CancelDuringACrossDeviceMoveLeavesEachSourceWholeOrMoved) {
    auto other = mountAt("other", "size=64m");
    if (!other)
        GTEST_SKIP() << "cannot mount a tmpfs here";
    const std::string big(20 << 20, 'z');
    for (const char* name : {"one", "two", "three"})
        tmp.write(std::string("src/") + name + "/data", big);
    progress.onUpdate = [&](const FileOperationStatus& s) {
        if (s.bytesDone > (30u << 20))
            engine.cancel();
    };
    EXPECT_FALSE(move({tmp / "src/one", tmp / "src/two", tmp / "src/three"}, tmp / "other"));
    expectOnly(tmp / "src", {"three", "two"});
    expectOnly(tmp / "other", {"one"});
    EXPECT_EQ(TempDir::read(tmp / "other/one/data"), big);
    EXPECT_EQ(TempDir::read(tmp / "src/two/data"), big);
}

TEST_F(FileOperationEngineTest, FullDiskLeavesNoPartialFile) {
    auto small = mountAt("small", "size=1m");
    if (!small)
        GTEST_SKIP() << "cannot mount a tmpfs here";
    const std::string source = tmp.write("src/big", std::string(3 << 20, 'b'));
    dialogs.errorAnswers = {ErrorChoice::Retry, ErrorChoice::Cancel};
    for (const bool moving : {false, true}) {
        dialogs.asked.clear();
        EXPECT_FALSE(moving ? move({source}, tmp / "small") : copy({source}, tmp / "small"));
        expectOnly(tmp / "small", {});
        EXPECT_EQ(statOf(source).st_size, 3 << 20);
        dialogs.errorAnswers = {ErrorChoice::Cancel};
    }
    EXPECT_EQ(dialogs.asked.back(), "error " + source);
}

TEST_F(FileOperationEngineTest, ReadOnlyTargetIsReportedAndNothingChanges) {
    auto target = mountAt("ro", "size=1m");
    if (!target || !target->makeReadOnly())
        GTEST_SKIP() << "cannot mount a read-only tmpfs here";
    const std::string source = tmp.write("src/a", "a");
    dialogs.errorAnswers = {ErrorChoice::Skip};
    EXPECT_FALSE(move({source}, tmp / "ro"));
    EXPECT_EQ(dialogs.asked, std::vector<std::string>{"error " + source});
    EXPECT_TRUE(exists(source));
    expectOnly(tmp / "ro", {});
}

TEST_F(FileOperationEngineTest, VanishingSourceIsAskedAboutAndTheRestGoesOn) {
    tmp.write("src/a", "a");
    tmp.write("src/b", "b");
    tmp.write("src/c", "c");
    tmp.mkdir("dst");
    progress.onUpdate = [&](const FileOperationStatus& s) {
        if (s.current == tmp / "src/a")
            unlink((tmp / "src/b").c_str());
    };
    dialogs.errorAnswers = {ErrorChoice::Skip};
    EXPECT_FALSE(copy({tmp / "src/a", tmp / "src/b", tmp / "src/c"}, tmp / "dst"));
    EXPECT_EQ(dialogs.asked, std::vector<std::string>{"error " + (tmp / "src/b")});
    expectOnly(tmp / "dst", {"a", "c"});
}

TEST_F(FileOperationEngineTest, SpecialFilesAreReportedNotRead) {
    tmp.mkdir("src");
    mkfifo((tmp / "src/fifo").c_str(), 0600);
    tmp.mkdir("dst");
    dialogs.errorAnswers = {ErrorChoice::Skip};
    EXPECT_FALSE(copy({tmp / "src/fifo"}, tmp / "dst"));
    EXPECT_EQ(dialogs.asked, std::vector<std::string>{"error " + (tmp / "src/fifo")});
    EXPECT_NE(dialogs.reasons[0].find("名前付きパイプ"), std::string::npos);
    expectOnly(tmp / "dst", {});
}

TEST_F(FileOperationEngineTest, AwkwardNamesTravelWhole) {
    const std::vector<std::string> names = {
        "new\nline", "com,ma",      "\"quoted\" 'single'",
        "<less>&",   "bad\xff\xfe", std::string(255, 'n'),
    };
    std::vector<std::string> sources;
    for (const std::string& name : names)
        sources.push_back(tmp.write("src/" + name, name));
    tmp.mkdir("copied");
    tmp.mkdir("moved");
    EXPECT_TRUE(copy(sources, tmp / "copied"));
    EXPECT_TRUE(move(sources, tmp / "moved"));
    expectOnly(tmp / "copied", names);
    expectOnly(tmp / "moved", names);
    for (const std::string& name : names)
        EXPECT_EQ(TempDir::read(tmp / ("moved/" + name)), name);
    std::vector<std::string> copies;
    for (const std::string& name : names)
        copies.push_back(tmp / ("copied/" + name));
    dialogs.deleteAnswers = {true};
    dialogs.forGoodAnswers = std::deque<bool>(names.size(), true);
    EXPECT_TRUE(run(FileOperationKind::Delete, copies, {}));
    expectOnly(tmp / "copied", {});
}

TEST_F(FileOperationEngineTest, DeleteAsksTwiceWithoutTrashAndNeverFollowsLinks) {
    tmp.write("keep/inside", "i");
    tmp.write("gone/file", "f");
    symlink((tmp / "keep").c_str(), (tmp / "gone/link").c_str());
    dialogs.deleteAnswers = {false, true, true};
    EXPECT_FALSE(run(FileOperationKind::Delete, {tmp / "gone"}, {}));
    EXPECT_TRUE(exists(tmp / "gone/file"));
    dialogs.forGoodAnswers = {false};
    EXPECT_FALSE(run(FileOperationKind::Delete, {tmp / "gone"}, {}));
    EXPECT_TRUE(exists(tmp / "gone/file"));
    dialogs.forGoodAnswers = {true};
    EXPECT_TRUE(run(FileOperationKind::Delete, {tmp / "gone"}, {}));
    EXPECT_FALSE(exists(tmp / "gone"));
    EXPECT_EQ(TempDir::read(tmp / "keep/inside"), "i");
    EXPECT_EQ(dialogs.asked[0], "delete 1");
    EXPECT_EQ(dialogs.asked[2], "for good " + (tmp / "gone"));
}

} // namespace
