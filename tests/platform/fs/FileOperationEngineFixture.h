#pragma once

#include "platform/Trash.h"
#include "platform/fs/FileOperationEngine.h"
#include "support/ScriptedFileOperationDialogs.h"
#include "support/TempDir.h"
#include "support/TmpfsMount.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

// A volume without a trash: deleting asks to delete for good.
class NoTrash : public Trash {
  public:
    Outcome moveToTrash(const std::string&) override {
        return {Result::NoTrash, "no trash", {}, {}};
    }
};

inline std::vector<std::string> namesIn(const std::string& folder) {
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

inline struct stat statOf(const std::string& path) {
    struct stat st {};
    lstat(path.c_str(), &st);
    return st;
}

inline bool exists(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0;
}

inline std::string linkOf(const std::string& path) {
    char buffer[4096];
    const ssize_t n = readlink(path.c_str(), buffer, sizeof buffer);
    return n < 0 ? std::string() : std::string(buffer, static_cast<std::size_t>(n));
}

// The engine over real temporary folders (and tmpfs mounts where a second file system,
// a full disk or a read-only target is needed), with scripted answers.
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
