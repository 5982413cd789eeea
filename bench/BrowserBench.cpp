// Measures the browser against the floor of reading the same folder (readdir + fstatat),
// taken in the same run, and prints ratios. Not a test: run build/tavrin_bench.
#include "browser/uFile.h"
#include "platform/MessageBox.h"
#include "platform/Timer.h"
#include "platform/qt/BrowserWidget.h"
#include "platform/qt/QtIconTheme.h"
#include "platform/qt/QtUiLoop.h"
#include "support/ScriptedFolderPicker.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileSystemModel>
#include <QTreeView>
#include <chrono>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <ftw.h>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class SilentMessages : public MessageBox {
  public:
    void inform(std::string_view) override {}
    bool ask(std::string_view) override { return false; }
};

class IdleTimer : public Timer {
  public:
    void start(int, std::function<void()> tick) override { tick_ = std::move(tick); }
    void stop() override {}
    bool running() const override { return true; }
    void tick() { tick_(); }

  private:
    std::function<void()> tick_;
};

double seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Best of three, to keep a passing hiccup of the machine out of the figures.
double best(const std::function<void()>& work, int runs = 3) {
    double t = 1e9;
    for (int i = 0; i < runs; ++i)
        t = std::min(t, seconds(work));
    return t;
}

void touch(const std::string& path) {
    ::close(::open(path.c_str(), O_CREAT | O_WRONLY, 0644));
}

std::string makeFolder(const std::string& base, int entries) {
    const std::string folder = base + "/n" + std::to_string(entries);
    ::mkdir(folder.c_str(), 0755);
    const char* ext[] = {".txt", ".doc", ".JPG", ".pdf", ".cpp", ".xlsx", "", ".tar.gz"};
    for (int i = 0; i < entries; ++i) {
        std::string name = (i % 3 == 0   ? "File"
                            : i % 3 == 1 ? "file"
                                         : "ファイル") +
                           std::to_string(i);
        if (i % 100 == 0)
            ::mkdir((folder + "/" + name).c_str(), 0755);
        else
            touch(folder + "/" + name + ext[i % 8]);
    }
    return folder;
}

std::string makeSubfolders(const std::string& base, int count) {
    const std::string folder = base + "/sub" + std::to_string(count);
    ::mkdir(folder.c_str(), 0755);
    ::mkdir((folder + "/parent").c_str(), 0755);
    for (int i = 0; i < count; ++i)
        ::mkdir((folder + "/parent/d" + std::to_string(i)).c_str(), 0755);
    return folder;
}

double floorOf(const std::string& folder) {
    return best([&] {
        DIR* dir = opendir(folder.c_str());
        struct stat st {};
        while (const dirent* e = readdir(dir))
            fstatat(dirfd(dir), e->d_name, &st, 0);
        closedir(dir);
    });
}

long rssKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}

double qtFileSystemModel(const std::string& folder) {
    return seconds([&] {
        QFileSystemModel model;
        QTreeView view;
        view.setModel(&model);
        bool loaded = false;
        QObject::connect(&model, &QFileSystemModel::directoryLoaded, [&] { loaded = true; });
        const QModelIndex root = model.setRootPath(QString::fromStdString(folder));
        view.setRootIndex(root);
        view.resize(400, 800);
        view.show();
        while (!loaded)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        while (model.canFetchMore(root))
            model.fetchMore(root);
        QCoreApplication::processEvents();
    });
}

void report(const char* what, double value, double floor, const char* target) {
    std::printf("%-58s %9.1f ms  %7.3fx floor  (target %s)\n", what, value * 1000, value / floor,
                target);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QtIconTheme::ensureThemeName();
    char pattern[] = "/tmp/tavrin-bench-XXXXXX";
    const std::string base = mkdtemp(pattern);
    std::printf("making folders in %s ...\n", base.c_str());
    const std::string small = makeFolder(base, 10000);
    const std::string large = makeFolder(base, 100000);
    const std::string deep = makeSubfolders(base, 10000);

    SilentMessages messages;
    QtUiLoop loop;
    QtIconTheme icons;
    IdleTimer timer;
    ScriptedFolderPicker picker;

    for (const std::string& folder : {small, large}) {
        const double floor = floorOf(folder);
        std::printf("\n%s: floor (readdir + fstatat) %.1f ms\n", folder.c_str(), floor * 1000);
        const long before = rssKb();
        auto browser = std::make_unique<uFile>(messages, loop, icons, timer, picker);
        BrowserWidget widget(browser->controls(), *browser);
        widget.resize(400, 900);
        widget.show();
        QCoreApplication::processEvents();
        const long empty = rssKb();
        const double fill = seconds([&] {
            browser->setRoot(folder);
            widget.grab();
        });
        report("complete fill of the list (rendered)", fill, floor, "<= 2x at 100,000");
        std::printf("%-58s %9.0f bytes\n", "memory per row above an empty window",
                    (rssKb() - empty) * 1024.0 / browser->controls().lsView.count());
        (void)before;
        report("  of which: the program's folder read (files and folders)",
               best([&] { FileSystem::list(folder); }), floor, "-");
        report("  of which: setting the root without a view (tree, list, signature)", best([&] {
                   IdleTimer ownTimer;
                   uFile rows(messages, loop, icons, ownTimer, picker);
                   rows.setRoot(folder);
               }),
               floor, "-");
        report("  of which: the list rows made from a read folder", best([&] {
                   IdleTimer ownTimer;
                   uFile rows(messages, loop, icons, ownTimer, picker);
                   rows.list().lsFill(folder, false);
               }),
               floor, "-");
        const double qt = qtFileSystemModel(folder);
        report("QFileSystemModel loading the same folder", qt, floor, "fill at least 10x faster");
        std::printf("%-58s %9.1fx\n", "  fill is faster than QFileSystemModel by", qt / fill);

        timer.tick();
        const double idle = best([&] { timer.tick(); });
        report("timer tick on the unchanged folder", idle, floor, "< 0.01x");
        touch(folder + "/zz-new-file.txt");
        const double merge = seconds([&] {
            timer.tick();
            widget.grab();
        });
        report("reconciliation after one file was added", merge, floor, "<= 1.5x");
        ::unlink((folder + "/zz-new-file.txt").c_str());
    }

    const double floor = floorOf(deep + "/parent");
    uFile browser(messages, loop, icons, timer, picker);
    browser.setRoot(deep);
    const std::string key = browser.tree().trGtKey(deep + "/parent");
    const double expand = seconds([&] { browser.treeNodeExpanding(key); });
    std::printf("\n%s/parent: floor %.1f ms\n", deep.c_str(), floor * 1000);
    report("expanding a node with 10,000 subfolders", expand, floor, "<= 5x");

    nftw(
        base.c_str(),
        [](const char* p, const struct stat*, int, struct FTW*) { return ::remove(p); }, 16,
        FTW_DEPTH | FTW_PHYS);
    return 0;
}
