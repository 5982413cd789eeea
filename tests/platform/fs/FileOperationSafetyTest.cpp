// Faults made on purpose in the middle of file operations: races at the moment of the
// rename, kills, sources changed during a move; and that each promised flush happens.
#include "platform/fs/FileOperationEngineFixture.h"
#include "support/SyncLog.h"

#include <csignal>
#include <sys/wait.h>

namespace {

using Checkpoint = FileOperationEngine::Checkpoint;

class FileOperationSafetyTest : public FileOperationEngineTest {
  protected:
    // Runs `act` once, when the engine first reaches `at`.
    void onceAt(Checkpoint at, std::function<void()> act) {
        engine.setCheckpointHook([at, act = std::move(act), done = false](Checkpoint c) mutable {
            if (c == at && !done) {
                done = true;
                act();
            }
        });
    }
    // Runs the operation in a child process that is killed when it reaches `at`.
    void killedAt(Checkpoint at, const std::function<void()>& operation) {
        const pid_t child = fork();
        if (child == 0) {
            engine.setCheckpointHook([at](Checkpoint c) {
                if (c == at)
                    _exit(0);
            });
            operation();
            _exit(1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
    }
    std::string temporaryLeft(const std::string& folder) {
        for (const std::string& name : namesIn(folder))
            if (name.starts_with(".tavrin-"))
                return name;
        return {};
    }
};

TEST_F(FileOperationSafetyTest, AReplacedTargetThatChangedMeanwhileIsAskedAboutAgain) {
    struct Case {
        const char* what;
        bool moving;
        bool conflictAtFirst;
        std::function<void(const std::string&)> meanwhile;
        std::string secondQuestion;
    };
    const auto folderWithWork = [](const std::string& at) {
        unlink(at.c_str());
        mkdir(at.c_str(), 0755);
        FILE* f = fopen((at + "/work").c_str(), "w");
        fputs("their work", f);
        fclose(f);
    };
    const auto otherFile = [](const std::string& at) {
        const std::string aside = at + ".new";
        FILE* f = fopen(aside.c_str(), "w");
        fputs("their work", f);
        fclose(f);
        rename(aside.c_str(), at.c_str());
    };
    const Case cases[] = {
        {"a folder in the agreed file's place, copy", false, true, folderWithWork,
         "conflict, kinds differ, "},
        {"a folder in the agreed file's place, move", true, true, folderWithWork,
         "conflict, kinds differ, "},
        {"another file in the agreed file's place", true, true, otherFile, "conflict "},
        {"a file where there was none (no overwrite)", false, false, otherFile, "conflict "},
        {"a file where there was none, move", true, false, otherFile, "conflict "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::string source = dir.write("src/a", "mine");
        const std::string target = dir / "dst/a";
        dir.mkdir("dst");
        if (c.conflictAtFirst)
            dir.write("dst/a", "agreed to replace");
        dialogs.asked.clear();
        dialogs.conflictAnswers = {{ConflictChoice::Skip, false}};
        if (c.conflictAtFirst)
            dialogs.conflictAnswers.push_front({ConflictChoice::Replace, false});
        onceAt(Checkpoint::BeforeInstall, [&] { c.meanwhile(target); });
        EXPECT_FALSE(c.moving ? move({source}, dir / "dst") : copy({source}, dir / "dst"));
        ASSERT_FALSE(dialogs.asked.empty());
        EXPECT_EQ(dialogs.asked.back(), c.secondQuestion + target);
        EXPECT_EQ(TempDir::read(source), "mine");
        EXPECT_EQ(TempDir::read(exists(target + "/work") ? target + "/work" : target),
                  "their work");
        expectOnly(dir / "dst", {"a"});
    }
}

TEST_F(FileOperationSafetyTest, AKillAtAnyMomentLeavesTheItemUnderItsRealName) {
    auto other = mountAt("other", "size=16m");
    const struct {
        Checkpoint at;
        bool moving;
        bool crossDevice;
    } cases[] = {
        {Checkpoint::BeforeInstall, true, false},      {Checkpoint::AfterExchange, true, false},
        {Checkpoint::BeforeInstall, false, false},     {Checkpoint::AfterExchange, false, false},
        {Checkpoint::BeforeInstall, true, true},       {Checkpoint::AfterExchange, true, true},
        {Checkpoint::BeforeSourceRemoval, true, true},
    };
    for (const auto& c : cases) {
        if (c.crossDevice && !other)
            continue;
        SCOPED_TRACE(static_cast<int>(c.at) * 4 + c.moving * 2 + c.crossDevice);
        const std::string dest = c.crossDevice ? tmp / "other" : tmp.mkdir("dst");
        const std::string source = tmp.write("src/a", "mine");
        tmp.write(dest.substr(tmp.path().size() + 1) + "/a", "old");
        dialogs.conflictAnswers = {{ConflictChoice::Replace, false}};
        killedAt(c.at, [&] { c.moving ? move({source}, dest) : copy({source}, dest); });
        const bool atSource = exists(source) && TempDir::read(source) == "mine";
        const bool atTarget = TempDir::read(dest + "/a") == "mine";
        EXPECT_TRUE(atSource || atTarget);
        EXPECT_TRUE(TempDir::read(dest + "/a") == "old" || atTarget);
        // The next run in the folder removes what the killed one left there.
        tmp.write("more/b", "b");
        EXPECT_TRUE(copy({tmp / "more/b"}, dest));
        EXPECT_EQ(temporaryLeft(dest), "");
        unlink((dest + "/b").c_str());
        unlink((dest + "/a").c_str());
        unlink(source.c_str());
    }
}

TEST_F(FileOperationSafetyTest, OnlyTheWorkOfEndedRunsOfThisUserIsRemoved) {
    const pid_t ended = fork();
    if (ended == 0)
        _exit(0);
    waitpid(ended, nullptr, 0);
    const std::string dead = ".tavrin-" + std::to_string(ended) + "-0.part";
    const std::string live = ".tavrin-" + std::to_string(getppid()) + "-0.part";
    tmp.write("dst/" + dead + "/partial", "p");
    tmp.write("dst/" + live, "still being written");
    tmp.write("dst/.tavrin-x-1.part", "not ours");
    tmp.write("dst/.tavrin-" + std::to_string(ended) + "-2.part.txt", "a user's file");
    tmp.write("src/a", "a");
    EXPECT_TRUE(copy({tmp / "src/a"}, tmp / "dst"));
    expectOnly(tmp / "dst",
               {live, ".tavrin-x-1.part", ".tavrin-" + std::to_string(ended) + "-2.part.txt", "a"});
    if (geteuid() == 0) {
        tmp.write("dst/" + dead, "another user's");
        chown((tmp / ("dst/" + dead)).c_str(), 65534, 65534);
        EXPECT_TRUE(copy({tmp.write("src/b", "b")}, tmp / "dst"));
        EXPECT_TRUE(exists(tmp / ("dst/" + dead)));
    }
}

TEST_F(FileOperationSafetyTest, ASourceChangedDuringACrossDeviceMoveStays) {
    auto other = mountAt("other", "size=16m");
    if (!other)
        GTEST_SKIP() << "cannot mount a tmpfs here";
    tmp.write("src/d/same", "unchanged");
    tmp.write("src/d/rewritten", "before");
    tmp.write("src/file", "before");
    // A rewrite of the same size during the copy: only the times and the change time say so.
    onceAt(Checkpoint::BeforeSourceRemoval, [&] {
        tmp.write("src/d/rewritten", "after!");
        tmp.write("src/d/added", "new");
    });
    dialogs.errorAnswers = {ErrorChoice::Skip, ErrorChoice::Skip};
    EXPECT_FALSE(move({tmp / "src/d"}, tmp / "other"));
    expectOnly(tmp / "src/d", {"added", "rewritten"});
    EXPECT_EQ(TempDir::read(tmp / "src/d/rewritten"), "after!");
    EXPECT_EQ(TempDir::read(tmp / "other/d/rewritten"), "before");
    EXPECT_EQ(TempDir::read(tmp / "other/d/same"), "unchanged");
    onceAt(Checkpoint::BeforeSourceRemoval, [&] { tmp.write("src/file", "after!"); });
    EXPECT_FALSE(move({tmp / "src/file"}, tmp / "other"));
    EXPECT_EQ(TempDir::read(tmp / "src/file"), "after!");
    EXPECT_EQ(dialogs.asked, (std::vector<std::string>{"error " + (tmp / "src/d"),
                                                       "error " + (tmp / "src/file")}));
}

TEST_F(FileOperationSafetyTest, CopiesAreFlushedBeforeTheyReplaceAndBeforeASourceGoes) {
    auto other = mountAt("other", "size=16m");
    if (!other)
        GTEST_SKIP() << "cannot mount a tmpfs here";
    tmp.write("src/file", "f");
    tmp.write("src/tree/x", "x");
    tmp.write("dst/file", "old");
    std::vector<std::string> beforeReplace, beforeRemoval;
    // Replacing an item: the new file reaches the disk before the exchange.
    SyncLog::start();
    onceAt(Checkpoint::BeforeInstall, [&] { beforeReplace = SyncLog::entries(); });
    dialogs.conflictAnswers = {{ConflictChoice::Replace, false}};
    EXPECT_TRUE(copy({tmp / "src/file"}, tmp / "dst"));
    ASSERT_EQ(beforeReplace.size(), 1u);
    EXPECT_TRUE(beforeReplace[0].starts_with("fsync " + (tmp / "dst/.tavrin-")));
    // Moving across file systems: the copy and the folder it was renamed into reach the
    // disk before the source is removed.
    for (const std::string name : {"file", "tree"}) {
        SyncLog::start();
        onceAt(Checkpoint::BeforeSourceRemoval, [&] { beforeRemoval = SyncLog::entries(); });
        EXPECT_TRUE(move({tmp / ("src/" + name)}, tmp / "other"));
        ASSERT_EQ(beforeRemoval.size(), 2u) << name;
        const std::string flush = name == "file" ? "fsync " : "syncfs ";
        EXPECT_TRUE(beforeRemoval[0].starts_with(flush + (tmp / "other")));
        EXPECT_EQ(beforeRemoval[1], "fsync " + (tmp / "other"));
    }
}

} // namespace
