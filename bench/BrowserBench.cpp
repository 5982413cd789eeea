// Measures what a user waits for in the browser and prints it against the floor of
// reading the same folder (readdir + fstatat), taken in the same process. Every measure
// runs in a fresh process (this program started again with the measure's name), several
// times; the median and the worst run are shown. Not a test: run build/tavrin_bench
// [runs].
#include "app/FolderBrowser.h"
#include "controls/ListObserver.h"
#include "platform/MessageBox.h"
#include "platform/Timer.h"
#include "platform/process/HeapPolicy.h"
#include "platform/qt/BrowserWidget.h"
#include "platform/qt/QtIconTheme.h"
#include "platform/qt/QtListView.h"
#include "platform/qt/QtTimer.h"
#include "platform/qt/QtUiLoop.h"
#include "support/RecordingOpener.h"
#include "support/ScriptedFolderPicker.h"
#include "support/SlowMount.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileSystemModel>
#include <QIcon>
#include <QStandardPaths>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <ftw.h>
#include <functional>
#include <map>
#include <mutex>
#include <random>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using Results = std::map<std::string, double>;

class SilentMessages : public MessageBox {
  public:
    void inform(std::string_view) override {}
    bool ask(std::string_view) override { return false; }
    SaveChoice askToSave(std::string_view) override { return SaveChoice::Discard; }
};

// The refresh tick, run by the measure itself where it must not come by surprise.
class ManualTick : public Timer {
  public:
    void start(int, std::function<void()> tick) override { tick_ = std::move(tick); }
    void stop() override {}
    bool running() const override { return true; }
    void tick() { tick_(); }

  private:
    std::function<void()> tick_;
};

double seconds(const std::function<void()>& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void touch(const std::string& path) {
    ::close(::open(path.c_str(), O_CREAT | O_WRONLY, 0644));
}

// A name no earlier run left behind.
std::string fresh(const std::string& folder, const std::string& stem, int i) {
    return folder + "/" + stem + "-" + std::to_string(getpid()) + "-" + std::to_string(i) + ".txt";
}

void put(const char* key, double value) {
    std::printf("%s %.9g\n", key, value);
}

// ---- Folders ----

std::string makeFolder(const std::string& base, int entries) {
    const std::string folder = base + "/n" + std::to_string(entries);
    ::mkdir(folder.c_str(), 0755);
    const char* ext[] = {".txt", ".doc", ".JPG", ".pdf", ".cpp", ".xlsx", "", ".tar.gz"};
    for (int i = 0; i < entries; ++i) {
        const char* stem = i % 3 == 0 ? "File" : i % 3 == 1 ? "file" : "ファイル";
        const std::string name = stem + std::to_string(i);
        if (i % 100 == 0)
            ::mkdir((folder + "/" + name).c_str(), 0755);
        else
            touch(folder + "/" + name + ext[i % 8]);
    }
    return folder;
}

// Names without an extension, a few that the content-type database knows by whole name.
std::string makeExtensionless(const std::string& base, int entries) {
    const std::string folder = base + "/bare" + std::to_string(entries);
    ::mkdir(folder.c_str(), 0755);
    const char* known[] = {"Makefile", "README", "COPYING", "core"};
    for (int i = 0; i < entries; ++i)
        touch(folder + "/" + (i < 4 ? known[i] : "notes" + std::to_string(i)));
    return folder;
}

// As a home folder: a few folders and documents, every name with an extension.
std::string makeHome(const std::string& base) {
    const std::string folder = base + "/home";
    ::mkdir(folder.c_str(), 0755);
    for (const char* sub : {"Desktop", "Documents", "Downloads", "Music", "Pictures"})
        ::mkdir((folder + "/" + sub).c_str(), 0755);
    for (const char* file : {"notes.txt", "photo.jpg", "report.pdf", "sheet.xlsx", "main.cpp"})
        touch(folder + "/" + file);
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

// `groups` folders of `each` subfolders each: expanded, the groups and their subfolders
// make groups * (each + 1) expanded nodes.
std::string makeWide(const std::string& base, int groups, int each) {
    const std::string folder = base + "/wide";
    ::mkdir(folder.c_str(), 0755);
    for (int g = 0; g < groups; ++g) {
        const std::string group = folder + "/g" + std::to_string(g);
        ::mkdir(group.c_str(), 0755);
        for (int i = 0; i < each; ++i)
            ::mkdir((group + "/d" + std::to_string(i)).c_str(), 0755);
    }
    return folder;
}

void removeTree(const std::string& base) {
    nftw(
        base.c_str(),
        [](const char* p, const struct stat*, int, struct FTW*) { return ::remove(p); }, 16,
        FTW_DEPTH | FTW_PHYS);
}

// ---- What the measures share ----

// Best of three, warm: the floor of reading a folder.
double floorOf(const std::string& folder) {
    double best = 1e9;
    for (int i = 0; i < 3; ++i)
        best = std::min(best, seconds([&] {
                            DIR* dir = opendir(folder.c_str());
                            struct stat st {};
                            while (const dirent* e = readdir(dir))
                                fstatat(dirfd(dir), e->d_name, &st, 0);
                            closedir(dir);
                        }));
    return best;
}

double residentBytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

// Counts the paints of the widget it watches.
class PaintCounter : public QObject {
  public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
    int paints = 0;
};

// The browser in its window, the list shown, as the program starts it.
struct Window {
    explicit Window(Timer& tick)
        : browser(messages, loop, icons, tick, picker, opener),
          widget(browser.controls(), browser) {
        // As the program starts with default settings: a tree pane of 3,000 twips, the
        // list below it.
        browser.setTreeHeightTwips(3000);
        browser.showList(true);
        widget.resize(400, 900);
        widget.listView()->viewport()->installEventFilter(&listPaints);
        widget.show();
        QCoreApplication::processEvents();
        paintsSeen = listPaints.paints;
    }
    // Hidden first: a shown BrowserWidget destroyed with rows still laid out crashes,
    // because its image cache goes before its child views.
    ~Window() { widget.hide(); }
    // Lets the window catch up: the folders being read are read and applied, and its
    // pending paint is the frame the user waits for. A list not painted since the last call
    // is painted now.
    void paint() {
        while (!browser.reads().idle() || browser.list().filling())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 1);
        QCoreApplication::processEvents();
        if (listPaints.paints == paintsSeen)
            widget.listView()->viewport()->repaint();
        paintsSeen = listPaints.paints;
    }
    int visibleRows() const {
        const QtListView* list = widget.listView();
        int rows = 0;
        int last = -1;
        for (int y = 1; list->isVisible() && y < list->viewport()->height(); y += 2) {
            const QModelIndex index = list->indexAt(QPoint(4, y));
            if (index.isValid() && index.row() != last) {
                ++rows;
                last = index.row();
            }
        }
        return rows;
    }

    PaintCounter listPaints;
    int paintsSeen = 0; // the list's paints at the last `paint`
    SilentMessages messages;
    QtUiLoop loop;
    QtIconTheme icons;
    ScriptedFolderPicker picker;
    RecordingOpener opener;
    FolderBrowser browser;
    BrowserWidget widget;
};

// Runs the event loop until `done` or the time is up; looks every 10 ms.
void runLoopUntil(const std::function<bool()>& done, double limitSeconds) {
    const auto end = Clock::now() + std::chrono::duration<double>(limitSeconds);
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (done() || Clock::now() >= end)
            loop.quit();
    });
    check.start(10);
    loop.exec();
}

// ---- The measures, each in its own process ----

double longestStall(const std::string& folder);

// Fill with the list shown and painted, then one change and nine more; resident memory
// above the empty window after each.
void measureFill(const std::string& folder) {
    const double floor = floorOf(folder);
    ManualTick tick;
    Window window(tick);
    const double empty = residentBytes();
    const double fill = seconds([&] {
        window.browser.setRoot(folder);
        window.paint();
    });
    const double rows = window.browser.controls().listControl.count();
    put("floor", floor);
    put("fill", fill / floor);
    put("painted_rows", window.visibleRows());
    const double filled = residentBytes();
    put("rss_fill", (filled - empty) / rows);
    for (int change = 1; change <= 10; ++change) {
        touch(fresh(folder, "zz-change", change));
        const double merge = seconds([&] {
            tick.tick();
            window.paint();
        });
        if (change == 1) {
            put("reconcile", merge / floor);
            put("rss_change1", (residentBytes() - empty) / rows);
        }
    }
    put("rss_change10", (residentBytes() - empty) / rows);
    put("stall", longestStall(folder));
    put("rss_ratio10", (residentBytes() - empty) / (filled - empty));
    put("total_ratio10", residentBytes() / filled);
    const double idle = seconds([&] { tick.tick(); });
    put("idle_tick", idle / floor);
    for (int change = 1; change <= 10; ++change)
        ::unlink(fresh(folder, "zz-change", change).c_str());
}

void measureQtModel(const std::string& folder) {
    const double floor = floorOf(folder);
    const double loaded = seconds([&] {
        PaintCounter paints;
        QFileSystemModel model;
        QTreeView view;
        view.viewport()->installEventFilter(&paints);
        view.setModel(&model);
        bool done = false;
        QObject::connect(&model, &QFileSystemModel::directoryLoaded, [&] { done = true; });
        const QModelIndex root = model.setRootPath(QString::fromStdString(folder));
        view.setRootIndex(root);
        view.resize(400, 800);
        view.show();
        runLoopUntil([&] { return done; }, 600);
        while (model.canFetchMore(root))
            model.fetchMore(root);
        // Painted once, as the browser's measures count it.
        QCoreApplication::processEvents();
        if (paints.paints == 0)
            view.viewport()->repaint();
    });
    put("qt_model", loaded / floor);
}

void measureExpand(const std::string& deep) {
    const double floor = floorOf(deep + "/parent");
    ManualTick tick;
    Window window(tick);
    window.browser.setRoot(deep);
    window.paint();
    const std::string key = window.browser.tree().keyOfPath(deep + "/parent");
    const double expand = seconds([&] {
        window.browser.treeNodeExpanding(key);
        window.paint();
    });
    put("expand", expand / floor);
}

// Tells when a row of a given name arrives.
class Arrivals : public ListObserver {
  public:
    explicit Arrivals(ListControl& list) : list_(list) { list_.addObserver(this); }
    ~Arrivals() override { list_.removeObserver(this); }
    void itemsInserted(int first, int count) override {
        const auto now = Clock::now();
        for (int row = first; row < first + count; ++row)
            seen[std::string(list_.itemAt(row + 1)->text())] = now;
    }
    std::map<std::string, Clock::time_point> seen;

  private:
    ListControl& list_;
};

// From a file's creation (by another thread, at random moments) to its row's notice.
void measureNotice(const std::string& folder) {
    QtTimer tick;
    Window window(tick);
    window.browser.setRoot(folder);
    window.paint();
    Arrivals arrivals(window.browser.controls().listControl);
    constexpr int kFiles = 20;
    std::mutex mutex;
    std::map<std::string, Clock::time_point> made;
    std::thread maker([&] {
        std::mt19937 random(std::random_device{}());
        for (int i = 0; i < kFiles; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(150 + random() % 250));
            const std::string path = fresh(folder, "new", i);
            std::lock_guard lock(mutex);
            made[path.substr(folder.size() + 1)] = Clock::now();
            touch(path);
        }
    });
    runLoopUntil([&] { return arrivals.seen.size() >= kFiles; }, 30);
    maker.join();
    std::vector<double> latencies;
    for (const auto& [name, at] : made)
        if (const auto it = arrivals.seen.find(name); it != arrivals.seen.end())
            latencies.push_back(std::chrono::duration<double>(it->second - at).count());
    std::sort(latencies.begin(), latencies.end());
    put("notice_median", latencies.empty() ? 1e9 : latencies[latencies.size() / 2]);
    put("notice_worst", latencies.empty() ? 1e9 : latencies.back());
    put("notice_missed", kFiles - static_cast<double>(latencies.size()));
    for (int i = 0; i < kFiles; ++i)
        ::unlink(fresh(folder, "new", i).c_str());
}

double threadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The user-interface thread's share of one core while another thread adds and removes a
// file every 2 ms in the shown folder.
void measureChurn(const std::string& folder) {
    QtTimer tick;
    Window window(tick);
    window.browser.setRoot(folder);
    window.paint();
    std::atomic<bool> stop = false;
    std::thread changer([&] {
        for (int i = 0; !stop; ++i) {
            const std::string path = fresh(folder, "churn", i % 50);
            if (i % 100 < 50)
                touch(path);
            else
                ::unlink(path.c_str());
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
    const double cpu = threadCpuSeconds();
    const double wall = seconds([] { runLoopUntil([] { return false; }, 4.0); });
    const double used = threadCpuSeconds() - cpu;
    stop = true;
    changer.join();
    put("churn_cpu", used / wall);
    for (int i = 0; i < 50; ++i)
        ::unlink(fresh(folder, "churn", i).c_str());
}

double processCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The whole process's processor time over 20 ticks of the refresh timer, the event loop
// running 50 ms after each, while nothing changes: with the root alone expanded (the floor)
// and with every folder of the tree expanded.
void measureIdleTree(const std::string& folder) {
    ManualTick tick;
    Window window(tick);
    window.browser.setRoot(folder);
    window.paint();
    const auto idle = [&] {
        runLoopUntil([] { return false; }, 0.3); // whatever the last step left
        const double cpu = processCpuSeconds();
        for (int i = 0; i < 20; ++i) {
            tick.tick();
            runLoopUntil([] { return false; }, 0.05);
        }
        return (processCpuSeconds() - cpu) / 20;
    };
    const double floor = idle();
    auto& tree = window.browser.controls().treeControl;
    TreeNode* root = tree.firstNode();
    std::vector<std::string> groups;
    for (TreeNode* g = root ? root->firstChild() : nullptr; g; g = g->nextSibling())
        groups.push_back(g->key());
    for (const std::string& key : groups) {
        tree.expand(tree.find(key));
        window.browser.treeNodeExpanding(key);
        window.paint();
        for (TreeNode* d = tree.find(key)->firstChild(); d; d = d->nextSibling())
            tree.expand(d);
    }
    window.paint();
    const double expanded = idle();
    put("tree_followed", static_cast<double>(window.browser.expandedWatch().followed()));
    put("tree_idle_floor", floor);
    put("tree_idle", expanded);
    put("tree_idle_ratio", expanded / floor);
}

// The longest time the window's loop went without running a 1 ms beat, from its start.
class StallMeter {
  public:
    StallMeter() {
        beat_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&beat_, &QTimer::timeout, [this] { note(); });
        beat_.start(1);
        QCoreApplication::processEvents();
        clock_.start();
        last_ = clock_.nsecsElapsed();
    }
    double longestSeconds() {
        note();
        return static_cast<double>(longest_) / 1e9;
    }

  private:
    void note() {
        const qint64 now = clock_.nsecsElapsed();
        longest_ = std::max(longest_, now - last_);
        last_ = now;
    }

    QTimer beat_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 longest_ = 0;
};

// The longest time the window's event loop did not run while the folder was listed and
// painted in a fresh window.
double longestStall(const std::string& folder) {
    ManualTick tick;
    Window window(tick);
    StallMeter meter;
    window.browser.setRoot(folder);
    window.paint();
    return meter.longestSeconds();
}

// A click on a folder of a share that answers each look-up after 3 s, then 4 s of the
// window's loop while the folder is read (reading it takes at least three look-ups).
void measureSlowRead(const std::string&) {
    SlowMount::Options slow;
    slow.delayMs = 3000;
    SlowMount mount(slow);
    if (!mount.available()) {
        std::fprintf(stderr, "no slow folder: %s\n", mount.reason().c_str());
        return;
    }
    std::ofstream(mount.source() + "/slow/a.txt") << "a";
    ManualTick tick;
    Window window(tick);
    window.browser.setRoot(mount.mountPoint());
    window.paint();
    StallMeter meter;
    const std::string key = window.browser.tree().keyOfPath(mount.slowFolder());
    window.browser.treeMousePressed(key, MouseButton::Left, {});
    window.browser.treeMouseReleased(key, MouseButton::Left, {});
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 4000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    put("slow_stall", meter.longestSeconds());
    put("slow_pending", window.browser.reads().idle() ? 0 : 1);
}

// The folder a first show finds on screen (the program always shows one from its start);
// empty: none, and every one-time set-up of the views falls into the measure.
std::string shownBefore;

// A folder's first show in a fresh process: its kinds of names are met for the first time.
void measureFirstShow(const std::string& folder) {
    ManualTick tick;
    Window window(tick);
    if (!shownBefore.empty()) {
        window.browser.setRoot(shownBefore);
        window.paint();
    }
    const double shown = seconds([&] {
        window.browser.setRoot(folder);
        window.paint();
    });
    put("first_show", shown);
}

// From this process's start (the parent's clock, handed over) to the painted window on an
// empty root.
void measureStartup(const std::string& folder) {
    ManualTick tick;
    Window window(tick);
    window.browser.setRoot(folder);
    window.paint();
    put("painted_at", std::chrono::duration<double>(Clock::now().time_since_epoch()).count());
}

int runMeasure(const std::string& measure, const std::string& folder) {
    const std::map<std::string, void (*)(const std::string&)> measures = {
        {"fill", measureFill},           {"qtmodel", measureQtModel},
        {"expand", measureExpand},       {"notice", measureNotice},
        {"churn", measureChurn},         {"startup", measureStartup},
        {"firstshow", measureFirstShow}, {"slowread", measureSlowRead},
        {"idletree", measureIdleTree},
    };
    const auto it = measures.find(measure);
    if (it == measures.end())
        return 2;
    it->second(folder);
    return 0;
}

// ---- The driver ----

// Runs this program again for one measure and reads what it printed.
Results runChild(const std::string& measure, const std::string& folder,
                 const std::string& before = "") {
    int out[2];
    if (pipe(out) != 0)
        return {};
    const double started = std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        execl("/proc/self/exe", "tavrin_bench", measure.c_str(), folder.c_str(),
              before.empty() ? nullptr : before.c_str(), nullptr);
        _exit(127);
    }
    close(out[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(n));
    close(out[0]);
    waitpid(child, nullptr, 0);
    Results results;
    std::istringstream lines(text);
    for (std::string key; lines >> key;)
        lines >> results[key];
    if (results.count("painted_at"))
        results["startup"] = results["painted_at"] - started;
    return results;
}

struct Summary {
    double median;
    double worst;
};

Summary summarise(std::vector<double> values, bool higherIsWorse = true) {
    std::sort(values.begin(), values.end());
    if (values.empty())
        return {0, 0};
    return {values[values.size() / 2], higherIsWorse ? values.back() : values.front()};
}

std::vector<Results> runs(int count, const std::string& measure, const std::string& folder,
                          const std::string& before = "") {
    std::vector<Results> all;
    for (int i = 0; i < count; ++i)
        all.push_back(runChild(measure, folder, before));
    return all;
}

std::vector<double> column(const std::vector<Results>& all, const std::string& key) {
    std::vector<double> values;
    for (const Results& r : all)
        if (const auto it = r.find(key); it != r.end())
            values.push_back(it->second);
    return values;
}

void line(const char* what, const std::vector<Results>& all, const std::string& key,
          const char* unit, double scale, const char* target) {
    const Summary s = summarise(column(all, key));
    std::printf("  %-50s %9.3g %-7s worst %9.3g   (target %s)\n", what, s.median * scale, unit,
                s.worst * scale, target);
}

void reportFill(int count, const std::string& folder, const char* size, int entries) {
    const auto all = runs(count, "fill", folder);
    const double floor = summarise(column(all, "floor")).median;
    std::printf("\n%s entries (%d fresh processes; floor median %.1f ms, %.2f us per entry):\n",
                size, count, floor * 1000, floor * 1e6 / entries);
    line("fill, list shown and painted", all, "fill", "x floor", 1, "<= 2.0x");
    line("  visible rows painted", all, "painted_rows", "rows", 1, "> 0");
    line("reconciliation after one change, painted", all, "reconcile", "x floor", 1, "<= 1.5x");
    line("timer tick on the unchanged folder", all, "idle_tick", "x floor", 1, "< 0.01x");
    line("resident growth per row, first fill", all, "rss_fill", "B", 1, "<= 400 B");
    line("  after one change", all, "rss_change1", "B", 1, "");
    line("  after ten changes", all, "rss_change10", "B", 1, "");
    line("growth after ten changes / growth of the fill", all, "rss_ratio10", "x", 1, "<= 1.1x");
    line("longest stall of the window's loop while listed", all, "stall", "ms", 1000, "<= 50 ms");
    line("  whole process, after ten changes / after the fill", all, "total_ratio10", "x", 1,
         "<= 1.1x");
    const auto qt = runs(count, "qtmodel", folder);
    line("QFileSystemModel loading and painting it", qt, "qt_model", "x floor", 1, "");
    const double fill = summarise(column(all, "fill")).median;
    std::printf("  fill is faster than QFileSystemModel by %.1fx (target >= 10x)\n",
                summarise(column(qt, "qt_model")).median / fill);
}

int drive(int count) {
    char pattern[] = "/tmp/tavrin-bench-XXXXXX";
    const std::string base = mkdtemp(pattern);
    std::printf("making folders in %s ...\n", base.c_str());
    const std::string empty = base + "/empty";
    ::mkdir(empty.c_str(), 0755);
    const std::string small = makeFolder(base, 100);
    const std::string medium = makeFolder(base, 10000);
    const std::string large = makeFolder(base, 100000);
    const std::string deep = makeSubfolders(base, 10000);
    const std::string bare = makeExtensionless(base, 1000);
    const std::string home = makeHome(base);
    const std::string wide = makeWide(base, 30, 100);
    std::printf("median and worst of %d fresh processes each\n", count);
    reportFill(count, medium, "10,000", 10000);
    reportFill(count, large, "100,000", 100000);
    std::printf("\nother measures:\n");
    line("expanding a node with 10,000 subfolders, painted", runs(count, "expand", deep), "expand",
         "x floor", 1, "<= 5x");
    line("start-up to the painted browser, empty root", runs(count, "startup", empty), "startup",
         "ms", 1000, "<= 100 ms");
    line("first show of 1,000 names without an extension", runs(count, "firstshow", bare, home),
         "first_show", "ms", 1000, "<= 20 ms");
    line("  the same in a window that showed nothing before", runs(count, "firstshow", bare),
         "first_show", "ms", 1000, "");
    const auto notices = runs(count, "notice", small);
    line("new file to its row, 100-entry folder: median", notices, "notice_median", "ms", 1000,
         "<= 20 ms");
    line("  worst", notices, "notice_worst", "ms", 1000, "");
    line("  files never shown", notices, "notice_missed", "", 1, "0");
    const auto slow = runs(count, "slowread", empty);
    line("longest stall while a folder answering in 3 s is read", slow, "slow_stall", "ms", 1000,
         "<= 50 ms");
    line("  read still under way after 4 s (1: yes)", slow, "slow_pending", "", 1, "1");
    line("CPU while a 100-entry folder changes all the time", runs(count, "churn", small),
         "churn_cpu", "% core", 100, "<= 20 %");
    line("  the same, 10,000 entries", runs(count, "churn", medium), "churn_cpu", "% core", 100,
         "<= 20 %");
    const auto idleTree = runs(count, "idletree", wide);
    line("idle tick, 3,030 expanded nodes / root alone expanded", idleTree, "tree_idle_ratio",
         "x floor", 1, "<= 1.2x");
    line("  processor time per tick, expanded", idleTree, "tree_idle", "us", 1e6, "");
    line("  expanded nodes followed", idleTree, "tree_followed", "nodes", 1, "3,031");
    removeTree(base);
    return 0;
}

// The icon folders the desktop's platform searches (the offscreen one knows only Qt's own
// resources), so that the measures pay for the theme icons a user sees.
void searchDesktopIconFolders() {
    QStringList paths = QIcon::themeSearchPaths();
    paths << QDir::homePath() + "/.icons";
    for (const QString& data :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        paths << data + "/icons";
    QIcon::setThemeSearchPaths(paths);
}

} // namespace

int main(int argc, char** argv) {
    HeapPolicy::returnLargeBlocks();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    searchDesktopIconFolders();
    QtIconTheme::ensureThemeName();
    if (argc == 3 || argc == 4) {
        shownBefore = argc == 4 ? argv[3] : "";
        return runMeasure(argv[1], argv[2]);
    }
    return drive(argc == 2 ? std::max(1, std::atoi(argv[1])) : 5);
}
