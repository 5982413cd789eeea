#include "opening/OpenPolicy.h"

#include "browser/BrowserHost.h"
#include "browser/PathText.h"
#include "opening/Fld.h"
#include "opening/WindowPlacement.h"
#include "platform/FileSystem.h"
#include "platform/TextCase.h"
#include "settings/ValueText.h"

#include <vector>

namespace {

// The pieces of a ","-joined path list. A path that exists as a whole is one piece, since
// Linux names may hold commas.
std::vector<std::string> piecesOf(const std::string& paths) {
    if (FileSystem::fileExists(paths) || FileSystem::folderExists(paths))
        return {paths};
    std::vector<std::string> pieces;
    std::size_t from = 0;
    for (;;) {
        const auto comma = paths.find(',', from);
        std::string piece =
            paths.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
        if (!piece.empty())
            pieces.push_back(std::move(piece));
        if (comma == std::string::npos)
            return pieces;
        from = comma + 1;
    }
}

} // namespace

OpenPolicy::OpenPolicy(PolicyHost& host, Fld& shell, WindowPlacement* placement, Record record)
    : host_(host), shell_(shell), placement_(placement), record_(std::move(record)) {}

void OpenPolicy::OpnByPlc(std::string& path, bool plainOpen, bool explore) {
    (void)plainOpen; // the kept office and browser viewers join here
    const std::string ext = TextCase::lower(PathText::extensionOf(path));
    if (TextCase::find(host_.documentOptions().sMnFm, ext) != std::string::npos)
        host_.minimizeMain();
    for (const std::string& piece : piecesOf(path))
        shell_.ShlOpn(piece, explore);
    if (record_)
        record_(path);
}

ScreenRect OpenPolicy::rectangle() const {
    const PixelRect work = host_.workArea();
    const int px = static_cast<int>(
        ValueText::roundHalfEven(host_.mainWidthTwips() / host_.mainTwipsPerPixelX()));
    return ScreenRect{work.left + px - 1, work.top, work.width() - px + 1, work.height()};
}

void OpenPolicy::SetPlcRct() {
    if (placement_)
        placement_->SetPlacement(rectangle());
}

void OpenPolicy::PlcDocWnd() {
    if (!placement_ || placement_->lastPlaced() == 0)
        return;
    SetPlcRct();
    placement_->MovWnd();
}
