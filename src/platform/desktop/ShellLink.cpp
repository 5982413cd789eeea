#include "platform/desktop/ShellLink.h"

#include "platform/text/AnsiCodec.h"
#include "platform/text/ByteReader.h"
#include "platform/fs/FileSystem.h"
#include "platform/fs/SmallFile.h"
#include "platform/text/WideText.h"

#include <cerrno>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr std::uint32_t kHeaderSize = 0x4C;
// LinkCLSID 00021401-0000-0000-C000-000000000046 in its stored byte order.
constexpr std::string_view kLinkClsid{
    "\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46", 16};

enum LinkFlag : std::uint32_t {
    HasLinkTargetIdList = 0x1,
    HasLinkInfo = 0x2,
    HasName = 0x4,
    HasRelativePath = 0x8,
    HasWorkingDir = 0x10,
    HasArguments = 0x20,
    HasIconLocation = 0x40,
    IsUnicode = 0x80,
    ForceNoLinkInfo = 0x100,
};

constexpr std::uint32_t kVolumeIdAndLocalBasePath = 0x1;
constexpr std::uint32_t kLinkInfoHeaderSize = 0x24; // with the two UTF-16 offsets
constexpr std::uint32_t kLinkInfoHeaderSizeAnsi = 0x1C;
constexpr std::uint32_t kDriveFixed = 3;
constexpr std::uint32_t kShowNormal = 1;
constexpr std::uint32_t kAttributeDirectory = 0x10;
constexpr std::uint32_t kAttributeArchive = 0x20;
constexpr std::size_t kMaxCount = 0xFFFF;

class ByteWriter {
  public:
    void u16(std::uint32_t v) { number(v, 2); }
    void u32(std::uint32_t v) { number(v, 4); }
    void u64(std::uint64_t v) { number(v, 8); }
    void bytes(std::string_view b) { out_.append(b); }
    void zeros(std::size_t count) { out_.append(count, '\0'); }
    void wide(std::u16string_view text) {
        for (char16_t u : text)
            u16(u);
    }
    std::size_t size() const { return out_.size(); }
    std::string take() { return std::move(out_); }

  private:
    void number(std::uint64_t v, int width) {
        for (int i = 0; i < width; ++i)
            out_ += static_cast<char>((v >> (8 * i)) & 0xFF);
    }
    std::string out_;
};

// A VolumeID for a fixed drive without serial number or label.
std::string volumeId() {
    ByteWriter w;
    w.u32(0x11);
    w.u32(kDriveFixed);
    w.u32(0);    // serial number
    w.u32(0x10); // label offset: the empty label right after these fields
    w.zeros(1);
    return w.take();
}

std::string linkInfo(std::string_view target) {
    const std::string ansi = AnsiCodec::encode(target);
    const std::u16string wide = WideText::fromBytes(target);
    const std::string volume = volumeId();
    const std::uint32_t volumeOffset = kLinkInfoHeaderSize;
    const auto localOffset = static_cast<std::uint32_t>(volumeOffset + volume.size());
    const auto suffixOffset = static_cast<std::uint32_t>(localOffset + ansi.size() + 1);
    const std::uint32_t padding = (suffixOffset + 1) % 2; // UTF-16 parts start even
    const std::uint32_t localWideOffset = suffixOffset + 1 + padding;
    const auto suffixWideOffset =
        static_cast<std::uint32_t>(localWideOffset + 2 * (wide.size() + 1));
    const std::uint32_t size = suffixWideOffset + 2;
    ByteWriter w;
    for (std::uint32_t v : {size, kLinkInfoHeaderSize, kVolumeIdAndLocalBasePath, volumeOffset,
                            localOffset, 0u, suffixOffset, localWideOffset, suffixWideOffset})
        w.u32(v);
    w.bytes(volume);
    w.bytes(ansi);
    w.zeros(1 + 1 + padding); // end of the base path, the empty suffix, padding
    w.wide(wide);
    w.zeros(2 + 2); // end of the base path, the empty suffix
    return w.take();
}

void header(ByteWriter& w, const ShellLinkData& link, std::uint32_t flags) {
    w.u32(kHeaderSize);
    w.bytes(kLinkClsid);
    w.u32(flags);
    w.u32(link.fileAttributes);
    w.u64(link.creationTime);
    w.u64(link.accessTime);
    w.u64(link.writeTime);
    w.u32(static_cast<std::uint32_t>(link.fileSize & 0xFFFFFFFFu));
    w.u32(0); // icon index
    w.u32(kShowNormal);
    w.zeros(2 + 2 + 4 + 4); // hot key, reserved
}

bool storable(std::string_view path) {
    return path.find('\0') == std::string_view::npos &&
           WideText::fromBytes(path).size() <= kMaxCount;
}

void stringData(ByteWriter& w, std::string_view text) {
    const std::u16string wide = WideText::fromBytes(text);
    w.u16(static_cast<std::uint32_t>(wide.size()));
    w.wide(wide);
}

// --- reading ---

std::optional<std::string> ansiStringAt(std::string_view block, std::uint32_t offset) {
    if (offset >= block.size())
        return std::nullopt;
    const auto end = block.find('\0', offset);
    if (end == std::string_view::npos)
        return std::nullopt;
    return AnsiCodec::decode(block.substr(offset, end - offset));
}

std::optional<std::string> wideStringAt(std::string_view block, std::uint32_t offset) {
    if (offset >= block.size())
        return std::nullopt;
    ByteReader r(block.substr(offset));
    std::u16string text;
    for (;;) {
        const auto unit = r.u16();
        if (!unit)
            return std::nullopt; // no terminator inside the structure
        if (*unit == 0)
            return WideText::toBytes(text);
        text += static_cast<char16_t>(*unit);
    }
}

// The local path a LinkInfo names; "" when it names none (a network share only).
std::optional<std::string> localPathOf(std::string_view block) {
    ByteReader r(block);
    std::uint32_t f[7];
    for (auto& v : f) {
        const auto n = r.u32();
        if (!n)
            return std::nullopt;
        v = *n;
    }
    const std::uint32_t headerSize = f[1], flags = f[2], localOffset = f[4], suffixOffset = f[6];
    if (headerSize > block.size() ||
        (headerSize != kLinkInfoHeaderSizeAnsi && headerSize < kLinkInfoHeaderSize))
        return std::nullopt;
    if (!(flags & kVolumeIdAndLocalBasePath))
        return std::string();
    if (headerSize >= kLinkInfoHeaderSize) {
        const std::uint32_t localWide = *r.u32(), suffixWide = *r.u32();
        if (localWide != 0) {
            auto base = wideStringAt(block, localWide);
            auto suffix = suffixWide ? wideStringAt(block, suffixWide) : std::string();
            if (!base || !suffix)
                return std::nullopt;
            return *base + *suffix;
        }
    }
    auto base = ansiStringAt(block, localOffset);
    auto suffix = suffixOffset ? ansiStringAt(block, suffixOffset) : std::string();
    if (!base || !suffix)
        return std::nullopt;
    return *base + *suffix;
}

std::optional<std::string> readString(ByteReader& r, bool unicode) {
    const auto count = r.u16();
    if (!count)
        return std::nullopt;
    if (unicode) {
        auto text = r.utf16(*count);
        return text ? std::optional(WideText::toBytes(*text)) : std::nullopt;
    }
    auto bytes = r.bytes(*count);
    return bytes ? std::optional(AnsiCodec::decode(*bytes)) : std::nullopt;
}

struct Header {
    std::uint32_t flags = 0;
};

bool readHeader(ByteReader& r, ShellLinkData& link, Header& h) {
    const auto size = r.u32();
    const auto clsid = r.bytes(16);
    if (!size || *size != kHeaderSize || !clsid || *clsid != kLinkClsid)
        return false;
    const auto flags = r.u32();
    const auto attributes = r.u32();
    const auto created = r.u64(), accessed = r.u64(), written = r.u64();
    const auto fileSize = r.u32();
    if (!flags || !attributes || !created || !accessed || !written || !fileSize ||
        !r.skip(4 + 4 + 2 + 2 + 4 + 4))
        return false;
    h.flags = *flags;
    link.fileAttributes = *attributes;
    link.creationTime = *created;
    link.accessTime = *accessed;
    link.writeTime = *written;
    link.fileSize = *fileSize;
    return true;
}

bool readLinkInfo(ByteReader& r, std::string_view whole, ShellLinkData& link, bool use) {
    const std::size_t start = r.position();
    const auto size = r.u32();
    if (!size || *size < kLinkInfoHeaderSizeAnsi || !r.skip(*size - 4))
        return false;
    const auto path = localPathOf(whole.substr(start, *size));
    if (!path)
        return false;
    if (use)
        link.targetPath = *path;
    return true;
}

std::uint64_t fileTime(const timespec& t) {
    constexpr std::int64_t kEpochDifference = 11644473600; // 1601-01-01 to 1970-01-01, s
    const std::int64_t seconds = t.tv_sec + kEpochDifference;
    if (seconds < 0)
        return 0;
    return static_cast<std::uint64_t>(seconds) * 10000000u +
           static_cast<std::uint64_t>(t.tv_nsec) / 100;
}

std::vector<std::string_view> components(std::string_view path) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        auto end = path.find('/', start);
        if (end == std::string_view::npos)
            end = path.size();
        if (end > start)
            parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

} // namespace

std::optional<std::string> ShellLink::encode(const ShellLinkData& link) {
    if (link.targetPath.empty() || !storable(link.targetPath) || !storable(link.workingDirectory) ||
        !storable(link.relativePath))
        return std::nullopt;
    std::uint32_t flags = HasLinkInfo | IsUnicode;
    if (!link.relativePath.empty())
        flags |= HasRelativePath;
    if (!link.workingDirectory.empty())
        flags |= HasWorkingDir;
    ByteWriter w;
    header(w, link, flags);
    w.bytes(linkInfo(link.targetPath));
    if (!link.relativePath.empty())
        stringData(w, link.relativePath);
    if (!link.workingDirectory.empty())
        stringData(w, link.workingDirectory);
    w.u32(0); // terminal block: no extra data
    return w.take();
}

std::optional<ShellLinkData> ShellLink::decode(std::string_view bytes) {
    ShellLinkData link;
    Header h;
    ByteReader r(bytes);
    if (!readHeader(r, link, h))
        return std::nullopt;
    if (h.flags & HasLinkTargetIdList) {
        const auto size = r.u16();
        if (!size || !r.skip(*size))
            return std::nullopt;
    }
    if ((h.flags & HasLinkInfo) && !readLinkInfo(r, bytes, link, !(h.flags & ForceNoLinkInfo)))
        return std::nullopt;
    const bool unicode = h.flags & IsUnicode;
    const std::pair<LinkFlag, std::string*> strings[] = {
        {HasName, nullptr},
        {HasRelativePath, &link.relativePath},
        {HasWorkingDir, &link.workingDirectory},
        {HasArguments, &link.arguments},
        {HasIconLocation, nullptr},
    };
    for (const auto& [flag, field] : strings) {
        if (!(h.flags & flag))
            continue;
        auto text = readString(r, unicode);
        if (!text)
            return std::nullopt;
        if (field)
            *field = std::move(*text);
    }
    return link; // extra data blocks carry nothing the program uses
}

namespace {

// The bytes of a shortcut to `target`, with the target's attributes, times and size.
std::optional<std::string> linkBytes(std::string_view linkPath, std::string_view target,
                                     std::string_view workingDirectory) {
    ShellLinkData link;
    link.targetPath = std::string(target);
    link.workingDirectory = std::string(workingDirectory);
    link.relativePath = ShellLink::relativeTo(FileSystem::parentOf(linkPath), target);
    struct stat st {};
    if (stat(link.targetPath.c_str(), &st) == 0) {
        const bool folder = S_ISDIR(st.st_mode);
        link.fileAttributes = folder ? kAttributeDirectory : kAttributeArchive;
        link.fileSize = folder ? 0 : static_cast<std::uint64_t>(st.st_size);
        link.creationTime = fileTime(st.st_mtim);
        link.accessTime = fileTime(st.st_atim);
        link.writeTime = fileTime(st.st_mtim);
    }
    return ShellLink::encode(link);
}

} // namespace

bool ShellLink::save(std::string_view linkPath, std::string_view target,
                     std::string_view workingDirectory) {
    const auto bytes = linkBytes(linkPath, target, workingDirectory);
    return bytes && FileSystem::writeBytesAtomically(linkPath, *bytes);
}

bool ShellLink::create(std::string_view linkPath, std::string_view target,
                       std::string_view workingDirectory, FileFault& fault) {
    const auto bytes = linkBytes(linkPath, target, workingDirectory);
    if (!bytes) {
        fault = FileFault{EINVAL, false};
        return false;
    }
    return FileSystem::writeNewFile(linkPath, *bytes, &fault);
}

std::optional<ShellLinkData> ShellLink::load(std::string_view linkPath) {
    const auto bytes = SmallFile::read(linkPath, kMaxFileSize);
    if (!bytes)
        return std::nullopt;
    auto link = decode(*bytes);
    if (link && link->targetPath.empty() && !link->relativePath.empty() &&
        link->relativePath.front() != '/') {
        std::string_view rel = link->relativePath;
        while (rel.substr(0, 2) == "./")
            rel.remove_prefix(2);
        link->targetPath = FileSystem::join(FileSystem::parentOf(linkPath), rel);
    }
    return link;
}

std::string ShellLink::relativeTo(std::string_view folder, std::string_view target) {
    if (folder.empty() || target.empty() || folder.front() != '/' || target.front() != '/')
        return {};
    const auto from = components(folder);
    const auto to = components(target);
    std::size_t common = 0;
    while (common < from.size() && common < to.size() && from[common] == to[common])
        ++common;
    if (common == to.size())
        return {}; // the target is the folder itself or above it
    std::string out = common == from.size() ? "./" : "";
    for (std::size_t i = common; i < from.size(); ++i)
        out += "../";
    for (std::size_t i = common; i < to.size(); ++i)
        out += std::string(to[i]) + (i + 1 < to.size() ? "/" : "");
    return out;
}
