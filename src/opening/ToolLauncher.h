#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class FileOpenDialog;
class ProgramStarter;

// Starts the four sibling tools. Each tool's executable is known from the per-user
// program settings ("QuorvaleTools", section "Path", key = tool name), found in the
// folders around the program, or chosen by the user; the tool gets the window area and
// the browser's folders through the hand-over file "TV_ACT.pdat" in the user data folder,
// whose path is its one argument.
//
// A tool's executable is named after the tool, with ".exe" or without an extension
// (then it must be a program file); names compare without regard to letter case.
class ToolLauncher {
  public:
    static constexpr std::array<std::string_view, 4> kToolNames = {"Arvenic", "Belsor", "Dalmec",
                                                                   "Emvol"};
    static constexpr std::string_view kApplication = "QuorvaleTools";
    static constexpr std::string_view kSection = "Path";

    // `programFolder` is the folder of the running executable; `userDataFolder` the user
    // data folder. Loads the tool paths (loadToolPaths).
    ToolLauncher(FileOpenDialog& dialog, ProgramStarter& starter, std::string programFolder,
         std::string userDataFolder);

    // Makes sure the tool's executable is known, writes the hand-over file and starts the
    // tool with its path as the one argument. True when the tool was started; nothing
    // starts when no executable is known or the hand-over file cannot be written.
    bool startTool(int index, std::int32_t left, std::int32_t top, std::int32_t width,
                std::int32_t height, std::string_view root, std::string_view path);

    // Loads the four tool paths from the settings; a value that names another file or no
    // existing one is dropped, a valid one is stored back.
    void loadToolPaths();
    // True when the tool's executable is known, after searching and asking if needed.
    bool checkToolPath(int index);
    // The candidate path of the tool's executable in the folders around the program, ""
    // when no folder is named like the tool. `parent` receives the folder that holds the
    // program's folder.
    static std::string findToolPath(std::string_view programFolder, std::string_view toolName,
                               std::string_view exeName, std::string& parent);
    // The file chosen in the file-open dialog, "" when cancelled.
    std::string chooseToolPath(std::string_view title, std::string_view fileName, std::string_view filter,
                        std::string_view initialFolder);

    const std::string& toolPath(int index) const { return tools_.at(index); }
    std::string handOverPath() const;

  private:
    static bool validIndex(int index) { return index >= 0 && index < 4; }
    static bool namedAsTool(std::string_view path, std::string_view tool);
    static bool usable(std::string_view path, std::string_view tool);
    static std::string executableIn(std::string_view folder, std::string_view tool);
    static std::string matchingSubfolder(std::string_view folder, std::string_view toolName,
                                         std::string_view skip);
    void remember(int index, const std::string& path);

    FileOpenDialog& dialog_;
    ProgramStarter& starter_;
    std::string programFolder_;
    std::string userData_;
    std::array<std::string, 4> tools_;
};
