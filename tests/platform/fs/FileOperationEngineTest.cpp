#include "platform/fs/FileOperationEngineFixture.h"

#include <sys/socket.h>
#include <sys/un.h>

namespace {

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
    // A free name for a name of the longest length is cut on whole characters where the
    // name is UTF-8, on bytes where it is not, and keeps some of its stem.
    const std::string kana = "\xe3\x81\x82"; // one character of three bytes
    std::string japanese;
    while (japanese.size() + kana.size() <= 255)
        japanese += kana;
    const struct {
        std::string name, copy;
    } cases[] = {
        {std::string(255, 'x'), std::string(251, 'x') + " (2)"},
        {japanese, japanese.substr(0, 249) + " (2)"},
        {std::string(255, '\x80'), std::string(251, '\x80') + " (2)"},
        {std::string(251, '\xbf') + ".txt", std::string(247, '\xbf') + " (2).txt"},
    };
    for (const auto& c : cases) {
        tmp.write("f/" + c.name, c.name);
        EXPECT_TRUE(copy({tmp / ("f/" + c.name)}, tmp / "f"));
        EXPECT_EQ(TempDir::read(tmp / ("f/" + c.copy)), c.name);
    }
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

TEST_F(FileOperationEngineTest, ReplaceMergesFoldersAndNeverPutsAFileInAFoldersPlace) {
    tmp.write("src/d/x", "new x");
    tmp.write("src/d/y", "new y");
    tmp.write("src/f/inner", "folder now");
    tmp.write("src/g", "precious");
    tmp.write("dst/d/x", "old x");
    tmp.write("dst/d/keep", "kept");
    tmp.write("dst/f", "was a file");
    tmp.write("dst/g/ro/locked", "x");
    chmod((tmp / "dst/g/ro").c_str(), 0555);
    // Replace for all merges the folders; where the kinds differ it does not apply: the
    // question comes again without replace, and an answer that was not offered skips.
    dialogs.conflictAnswers = {{ConflictChoice::Replace, true},
                               {ConflictChoice::KeepBoth, false},
                               {ConflictChoice::Replace, false}};
    dialogs.errorAnswers = {ErrorChoice::Retry, ErrorChoice::Retry};
    EXPECT_FALSE(move({tmp / "src/d", tmp / "src/f", tmp / "src/g"}, tmp / "dst"));
    EXPECT_EQ(dialogs.asked, (std::vector<std::string>{
                                 "conflict " + (tmp / "dst/d"),
                                 "conflict, kinds differ, " + (tmp / "dst/f"),
                                 "conflict, kinds differ, " + (tmp / "dst/g"),
                             }));
    expectOnly(tmp / "dst", {"d", "f", "f (2)", "g"});
    expectOnly(tmp / "dst/d", {"keep", "x", "y"});
    EXPECT_EQ(TempDir::read(tmp / "dst/d/x"), "new x");
    EXPECT_EQ(TempDir::read(tmp / "dst/f"), "was a file");
    EXPECT_EQ(TempDir::read(tmp / "dst/f (2)/inner"), "folder now");
    EXPECT_EQ(TempDir::read(tmp / "dst/g/ro/locked"), "x");
    expectOnly(tmp / "src", {"g"});
    EXPECT_EQ(TempDir::read(tmp / "src/g"), "precious");
    chmod((tmp / "dst/g/ro").c_str(), 0755);
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

TEST_F(FileOperationEngineTest, FifosAreMadeAnewAndSocketsSkippedWithANote) {
    tmp.mkdir("src");
    mkfifo((tmp / "src/fifo").c_str(), 0600);
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = tmp / "src/socket";
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    socketPath.copy(address.sun_path, socketPath.size());
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    tmp.mkdir("dst");
    dialogs.errorAnswers = {ErrorChoice::Skip};
    EXPECT_FALSE(copy({tmp / "src/fifo", tmp / "src/socket"}, tmp / "dst"));
    close(listener);
    EXPECT_EQ(dialogs.asked, std::vector<std::string>{"error " + (tmp / "src/socket")});
    ASSERT_EQ(dialogs.reasons.size(), 1u);
    EXPECT_NE(dialogs.reasons[0].find("ソケット"), std::string::npos);
    expectOnly(tmp / "dst", {"fifo"});
    EXPECT_TRUE(S_ISFIFO(statOf(tmp / "dst/fifo").st_mode));
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
    dialogs.forGoodAnswers = {{true, true}};
    dialogs.asked.clear();
    EXPECT_TRUE(run(FileOperationKind::Delete, copies, {}));
    expectOnly(tmp / "copied", {});
    // Deleting for good is asked once, for all.
    EXPECT_EQ(dialogs.asked, (std::vector<std::string>{"delete 6", "for good " + copies[0]}));
}

TEST_F(FileOperationEngineTest, DeleteAsksTwiceWithoutTrashAndNeverFollowsLinks) {
    tmp.write("keep/inside", "i");
    tmp.write("gone/file", "f");
    symlink((tmp / "keep").c_str(), (tmp / "gone/link").c_str());
    dialogs.deleteAnswers = {false, true, true};
    EXPECT_FALSE(run(FileOperationKind::Delete, {tmp / "gone"}, {}));
    EXPECT_TRUE(exists(tmp / "gone/file"));
    dialogs.forGoodAnswers = {{false, false}};
    EXPECT_FALSE(run(FileOperationKind::Delete, {tmp / "gone"}, {}));
    EXPECT_TRUE(exists(tmp / "gone/file"));
    dialogs.forGoodAnswers = {{true, false}};
    EXPECT_TRUE(run(FileOperationKind::Delete, {tmp / "gone"}, {}));
    EXPECT_FALSE(exists(tmp / "gone"));
    EXPECT_EQ(TempDir::read(tmp / "keep/inside"), "i");
    EXPECT_EQ(dialogs.asked[0], "delete 1");
    EXPECT_EQ(dialogs.asked[2], "for good " + (tmp / "gone"));
}

} // namespace
