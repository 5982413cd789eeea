#pragma once

#include "platform/FileOperationService.h"
#include "platform/Trash.h"
#include "platform/fs/FileOperationEngine.h"
#include "platform/fs/FileSystem.h"
#include "platform/text/PathText.h"
#include "support/ScriptedFileOperationDialogs.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/stat.h>

// A trash laid out as the desktop's (files/ and info/*.trashinfo) in `folder`; none when
// the folder is empty. Names are made free with a number, as GIO does.
class FolderTrash : public Trash {
  public:
    explicit FolderTrash(std::string folder) : folder_(std::move(folder)) {}
    Outcome moveToTrash(const std::string& path) override {
        if (folder_.empty())
            return {Result::NoTrash, "no trash", {}, {}};
        std::filesystem::create_directories(folder_ + "/files");
        std::filesystem::create_directories(folder_ + "/info");
        std::string name = PathText::folderAndName(path).second;
        struct stat st {};
        for (int n = 2; lstat((folder_ + "/files/" + name).c_str(), &st) == 0; ++n)
            name = PathText::folderAndName(path).second + "." + std::to_string(n);
        const std::string trashed = folder_ + "/files/" + name;
        const std::string info = folder_ + "/info/" + name + ".trashinfo";
        if (std::rename(path.c_str(), trashed.c_str()) != 0)
            return {Result::Failed, "cannot move", {}, {}};
        FileSystem::writeNewFile(info, "[Trash Info]\nPath=" + path + "\n");
        return {Result::Done, {}, trashed, info};
    }

  private:
    std::string folder_;
};

// The real file work, run where it is asked: no thread, no dialogs but a script.
class EngineService : public FileOperationService {
  public:
    explicit EngineService(std::string trashFolder = {}) : trash(std::move(trashFolder)) {}
    FileOperationResult run(const FileOperationRequest& request) override {
        engine.run(request);
        return engine.result();
    }
    ScriptedFileOperationDialogs dialogs;

  private:
    ScriptedProgress progress;
    FolderTrash trash;
    FileOperationEngine engine{dialogs, progress, trash};
};
