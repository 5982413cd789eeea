#include "opening/ToolLauncher.h"

#include "opening/HandOverRecord.h"
#include "platform/FileOpenDialog.h"
#include "platform/fs/FileSystem.h"
#include "platform/desktop/ProgramFile.h"
#include "platform/desktop/ProgramSettings.h"
#include "platform/ProgramStarter.h"
#include "platform/text/TextCase.h"

#include <vector>

namespace {

std::string exeNameOf(std::string_view tool) {
    return std::string(tool) + ".exe";
}

std::string withoutTrailingSlash(std::string_view folder) {
    std::string out(folder);
    while (out.size() > 1 && out.back() == '/')
        out.pop_back();
    return out;
}

bool sameName(std::string_view a, std::string_view b) {
    return TextCase::lower(a) == TextCase::lower(b);
}

} // namespace

ToolLauncher::ToolLauncher(FileOpenDialog& dialog, ProgramStarter& starter, std::string programFolder,
           std::string userDataFolder)
    : dialog_(dialog), starter_(starter), programFolder_(std::move(programFolder)),
      userData_(std::move(userDataFolder)) {
    loadToolPaths();
}

bool ToolLauncher::startTool(int index, std::int32_t left, std::int32_t top, std::int32_t width,
                  std::int32_t height, std::string_view root, std::string_view path) {
    if (!checkToolPath(index) || userData_.empty())
        return false;
    // Written whole and in one step, so no bytes of an earlier, longer record remain.
    const std::string handOver = handOverPath();
    if (!FileSystem::writeBytesAtomically(
            handOver, HandOverRecord::bytes(left, top, width, height, root, path)))
        return false;
    return starter_.start({tools_[index], handOver});
}

std::string ToolLauncher::handOverPath() const {
    return FileSystem::join(userData_, HandOverRecord::kFileName);
}

void ToolLauncher::loadToolPaths() {
    for (int i = 0; i < 4; ++i) {
        const std::string_view tool = kToolNames[i];
        std::string path = ProgramSettings::get(kApplication, kSection, tool);
        if (!usable(path, tool))
            path.clear();
        else
            ProgramSettings::set(kApplication, kSection, tool, path);
        tools_[i] = path;
    }
}

bool ToolLauncher::checkToolPath(int index) {
    if (!validIndex(index))
        return false;
    const std::string_view tool = kToolNames[index];
    if (usable(tools_[index], tool))
        return true;
    std::string parent;
    const std::string candidate = findToolPath(programFolder_, tool, exeNameOf(tool), parent);
    std::string found =
        candidate.empty() ? std::string() : executableIn(FileSystem::parentOf(candidate), tool);
    if (found.empty()) {
        // Executables on Linux rarely have an extension: the second filter shows the
        // files named like the tool.
        const std::string filter =
            "実行ﾌｧｲﾙ(*.exe)|*.exe|" + std::string(tool) + "|" + std::string(tool);
        found = chooseToolPath(std::string(tool) + " 実行ﾌｧｲﾙの指定", exeNameOf(tool), filter, parent);
        if (!usable(found, tool))
            return false;
    }
    remember(index, found);
    return true;
}

std::string ToolLauncher::findToolPath(std::string_view programFolder, std::string_view toolName,
                          std::string_view exeName, std::string& parent) {
    parent = FileSystem::parentOf(withoutTrailingSlash(programFolder));
    const std::string grandparent = FileSystem::parentOf(parent);
    if (std::string found = matchingSubfolder(parent, toolName, {}); !found.empty())
        return FileSystem::join(found, exeName);
    if (grandparent == parent)
        return {};
    for (const FileRecord& sub : FileSystem::subFolders(grandparent)) {
        if (sub.path == parent)
            continue;
        if (sameName(sub.name, toolName))
            return FileSystem::join(sub.path, exeName);
        if (std::string found = matchingSubfolder(sub.path, toolName, parent); !found.empty())
            return FileSystem::join(found, exeName);
    }
    return {};
}

std::string ToolLauncher::matchingSubfolder(std::string_view folder, std::string_view toolName,
                                    std::string_view skip) {
    for (const FileRecord& sub : FileSystem::subFolders(folder))
        if (sub.path != skip && sameName(sub.name, toolName))
            return sub.path;
    return {};
}

std::string ToolLauncher::chooseToolPath(std::string_view title, std::string_view fileName,
                          std::string_view filter, std::string_view initialFolder) {
    const bool bareName = fileName.find('/') == std::string_view::npos;
    return dialog_.chooseFile(title, fileName, filter,
                              bareName ? initialFolder : std::string_view());
}

bool ToolLauncher::namedAsTool(std::string_view path, std::string_view tool) {
    const std::string name = FileSystem::nameOf(path);
    return sameName(name, exeNameOf(tool)) || sameName(name, tool);
}

bool ToolLauncher::usable(std::string_view path, std::string_view tool) {
    if (path.empty() || !namedAsTool(path, tool))
        return false;
    const bool withExtension = sameName(FileSystem::nameOf(path), exeNameOf(tool));
    return withExtension ? FileSystem::fileExists(path) : ProgramFile::is(path);
}

std::string ToolLauncher::executableIn(std::string_view folder, std::string_view tool) {
    const std::vector<FileRecord> files = FileSystem::files(folder);
    for (const std::string& name : {exeNameOf(tool), std::string(tool)})
        for (const FileRecord& file : files)
            if (sameName(file.name, name) && usable(file.path, tool))
                return file.path;
    return {};
}

void ToolLauncher::remember(int index, const std::string& path) {
    ProgramSettings::set(kApplication, kSection, kToolNames[index], path);
    tools_[index] = path;
}
