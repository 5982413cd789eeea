#include "platform/fs/GioTrash.h"
#include "platform/fs/FileOperationEngine.h"
#include "support/ScriptedFileOperationDialogs.h"
#include "support/TempDir.h"
#include "support/TmpfsMount.h"

#include <cstdlib>
#include <ftw.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The trash of this test process: $XDG_DATA_HOME/Trash, set by main() before GLib reads it.
std::string trashFolder() {
    return std::string(std::getenv("XDG_DATA_HOME")) + "/Trash";
}

std::string percentDecoded(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The Path= line of a trash info file.
std::string infoPath(const std::string& info) {
    const std::size_t at = info.find("\nPath=");
    if (info.rfind("[Trash Info]\n", 0) != 0 || at == std::string::npos)
        return {};
    const std::size_t end = info.find('\n', at + 1);
    return info.substr(at + 6, end - at - 6);
}

bool exists(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0;
}

class GioTrashTest : public ::testing::Test {
  protected:
    bool remove(const std::vector<std::string>& paths) {
        FileOperationRequest request;
        request.kind = FileOperationKind::Delete;
        request.sources = paths;
        return engine.run(request);
    }

    TempDir tmp;
    ScriptedFileOperationDialogs dialogs;
    ScriptedProgress progress;
    GioTrash trash;
    FileOperationEngine engine{dialogs, progress, trash};
};

TEST_F(GioTrashTest, DeletedItemsLandInTheTrashWithTheirOriginalPath) {
    const std::vector<std::string> names = {"new\nline", "com,ma and blank", "<less>&%25",
                                            "bad\xff\xfe", "日本語.txt"};
    std::vector<std::string> paths;
    for (const std::string& name : names)
        paths.push_back(tmp.write(name, name));
    tmp.write("outside/keep", "k");
    tmp.mkdir("folder");
    symlink((tmp / "outside").c_str(), (tmp / "folder/link").c_str());
    paths.push_back(tmp / "folder");
    dialogs.deleteAnswers = {true};

    EXPECT_TRUE(remove(paths));

    EXPECT_EQ(dialogs.asked, std::vector<std::string>{"delete 6"});
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::string name = i < names.size() ? names[i] : "folder";
        EXPECT_FALSE(exists(paths[i]));
        EXPECT_TRUE(exists(trashFolder() + "/files/" + name)) << name;
        const std::string info = TempDir::read(trashFolder() + "/info/" + name + ".trashinfo");
        const std::string encoded = infoPath(info);
        EXPECT_EQ(encoded.find_first_of(" \n,<&\xff"), std::string::npos) << encoded;
        EXPECT_EQ(percentDecoded(encoded), paths[i]);
        EXPECT_NE(info.find("\nDeletionDate="), std::string::npos);
    }
    EXPECT_EQ(TempDir::read(tmp / "outside/keep"), "k");
    EXPECT_TRUE(exists(trashFolder() + "/files/folder/link"));
}

TEST_F(GioTrashTest, TheOutcomeNamesTheItemInTheTrashAndItsInfo) {
    // Two items of one name: the second lands under another name, which is the one told.
    for (const char* folder : {"one", "two"}) {
        const std::string path = tmp.write(std::string(folder) + "/same.txt", folder);
        const Trash::Outcome outcome = trash.moveToTrash(path);
        ASSERT_EQ(outcome.result, Trash::Result::Done);
        EXPECT_EQ(TempDir::read(outcome.trashed), folder);
        const std::string name = outcome.trashed.substr(outcome.trashed.rfind('/') + 1);
        EXPECT_EQ(outcome.trashed, trashFolder() + "/files/" + name);
        EXPECT_EQ(outcome.info, trashFolder() + "/info/" + name + ".trashinfo");
        EXPECT_EQ(percentDecoded(infoPath(TempDir::read(outcome.info))), path);
    }
}

TEST_F(GioTrashTest, AVolumeWithoutTrashOffersDeletingForGood) {
    TmpfsMount volume(tmp.mkdir("volume"), "size=1m");
    if (!volume.mounted())
        GTEST_SKIP() << "cannot mount a tmpfs here";
    const std::string file = tmp.write("volume/file", "f");
    dialogs.deleteAnswers = {true, true};
    dialogs.forGoodAnswers = {{false, false}, {true, false}};
    EXPECT_FALSE(remove({file}));
    EXPECT_TRUE(exists(file));
    EXPECT_TRUE(remove({file}));
    EXPECT_FALSE(exists(file));
    EXPECT_EQ(dialogs.asked[1], "for good " + file);
}

} // namespace

int main(int argc, char** argv) {
    // GLib reads the data folder once per process: a fresh one for every run, so the
    // tests never touch the user's trash.
    std::string home = "/tmp/tavrin-trash-XXXXXX";
    if (!mkdtemp(home.data()))
        return 1;
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    nftw(
        home.c_str(),
        [](const char* p, const struct stat*, int, struct FTW*) { return ::remove(p); }, 16,
        FTW_DEPTH | FTW_PHYS);
    return result;
}
