#include "opening/ShellServices.h"

#include "opening/PlacementSteps.h"
#include "platform/fs/FileSystem.h"
#include "platform/FolderPicker.h"
#include "platform/desktop/PickerRoots.h"
#include "platform/desktop/ShellLink.h"
#include "platform/ShellOpener.h"
#include "platform/desktop/SystemFolders.h"
#include "platform/text/TextCase.h"
#include "platform/UiLoop.h"
#include "platform/desktop/UrlShortcut.h"

namespace {

// The text after the last "." of the path, in lower case.
std::string extensionOf(std::string_view path) {
    const auto dot = path.rfind('.');
    return dot == std::string_view::npos ? std::string() : TextCase::lower(path.substr(dot + 1));
}

std::string withoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// A send-to item is a file name of the send-to folder, never a path leading elsewhere.
bool isItemName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos;
}

} // namespace

ShellServices::ShellServices(ShellOpener& opener, FolderPicker& picker, UiLoop& loop, PlacementSteps* placement)
    : opener_(opener), picker_(picker), loop_(loop), placement_(placement) {}

std::string ShellServices::chooseFolder(std::string_view folder, std::string_view title, int root) {
    const std::string initial = FileSystem::folderExists(folder) ? std::string(folder) : "";
    std::string rootFolder = PickerRoots::of(root);
    if (!FileSystem::folderExists(rootFolder))
        rootFolder.clear();
    const std::string_view shownTitle = title.empty() ? kDefaultPickerTitle : title;
    return picker_.pickFolder(ownerWindow(), shownTitle, initial, rootFolder);
}

std::string ShellServices::systemFolderPath(int number) {
    const std::string path = SystemFolders::path(number);
    if (!path.empty() && FileSystem::folderExists(path))
        return withoutTrailingSlash(path);
    return chooseFolder("", "", number);
}

bool ShellServices::shellOpen(std::string_view path, bool explore) {
    if (path.empty())
        return false;
    return explore ? opener_.explore(path) : opener_.open(path);
}

bool ShellServices::openDocument(std::string_view path, bool explore) {
    std::string target(path);
    if (const std::string ext = extensionOf(target); ext == "url" || ext == "lnk")
        target = shortcutTarget(target);
    if (target.empty())
        return false; // a shortcut to something that is not a file-system item
    WaitCursor wait(loop_);
    const bool placed = ownerWindow() != 0;
    placeBefore(placed);
    const bool started = shellOpen(target, explore);
    placeAfter(placed, started);
    return started;
}

std::string ShellServices::shortcutTarget(std::string_view path) {
    const std::string ext = extensionOf(path);
    if (ext == "lnk") {
        if (const auto link = ShellLink::load(path))
            return link->targetPath;
    } else if (ext == "url") {
        if (const auto url = UrlShortcut::read(path))
            return *url;
    }
    return std::string(path);
}

bool ShellServices::runShortcut(std::string_view name, const std::vector<std::string>& paths, bool place) {
    if (!isItemName(name) || sendToFolder().empty())
        return false;
    const std::string linkPath = FileSystem::join(sendToFolder(), std::string(name) + ".lnk");
    if (!FileSystem::fileExists(linkPath))
        return false;
    WaitCursor wait(loop_);
    const auto link = ShellLink::load(linkPath);
    if (!link || !FileSystem::fileExists(link->targetPath))
        return false; // unreadable, or a folder or a missing program: nothing to start
    // Placement needs both steps; without an owner window the second never runs.
    const bool placed = place && ownerWindow() != 0;
    placeBefore(placed);
    const bool started = opener_.start(link->targetPath, paths, link->workingDirectory);
    placeAfter(placed, started);
    return started;
}

const std::string& ShellServices::sendToFolder() {
    if (!sendTo_)
        sendTo_ = systemFolderPath(kSendTo);
    return *sendTo_;
}

void ShellServices::placeBefore(bool place) {
    if (place && placement_)
        placement_->placeWindow(0);
}

void ShellServices::placeAfter(bool place, bool started) {
    if (place && started && placement_)
        placement_->placeWindow(1);
}
