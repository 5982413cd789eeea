// Measures the file-operation engine against the standard tools on the same data in the
// same run (cp, cp -r, mv across file systems, gio trash) and prints ratios, the cost of
// the progress reports and the longest wait of the window's events during a copy.
// Not a test: run build/tavrin_fileop_bench (--quick for a small sanity run).
#include "platform/fs/FileOperationEngine.h"
#include "platform/fs/GioTrash.h"
#include "platform/qt/QtFileOperations.h"
#include "support/ScriptedFileOperationDialogs.h"
#include "support/TmpfsMount.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <ftw.h>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Sizes {
    std::size_t bigFile;
    int folders;
    int filesPerFolder;
};

double seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Figure {
    double median;
    double worst;
};

// `prepare` (untimed) then `work` (timed), three times.
Figure measure(const std::function<void()>& prepare, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < 3; ++i) {
        prepare();
        sync();
        times.push_back(seconds(work));
    }
    std::sort(times.begin(), times.end());
    return {times[1], times[2]};
}

// The median of b / a over pairs of runs, each run after its own preparation, the pairs
// taking turns at which goes first: the state the file system is left in by the deletions
// of the preparation (ext4 skips recently freed inodes) and the disk's writeback weigh on
// both alike.
double pairedRatio(const std::function<void()>& prepareA, const std::function<void()>& a,
                   const std::function<void()>& prepareB, const std::function<void()>& b) {
    const auto timed = [](const std::function<void()>& prepare, const std::function<void()>& work) {
        prepare();
        sync();
        return seconds(work);
    };
    std::vector<double> ratios;
    for (int i = 0; i < 8; ++i) {
        double first = 0, second = 0;
        if (i % 2 == 0) {
            first = timed(prepareA, a);
            second = timed(prepareB, b);
        } else {
            second = timed(prepareB, b);
            first = timed(prepareA, a);
        }
        ratios.push_back(second / first);
    }
    std::sort(ratios.begin(), ratios.end());
    return (ratios[3] + ratios[4]) / 2;
}

void runTool(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
}

void removeTree(const std::string& path) {
    nftw(
        path.c_str(),
        [](const char* p, const struct stat*, int, struct FTW*) { return ::remove(p); }, 16,
        FTW_DEPTH | FTW_PHYS);
}

void writeFile(const std::string& path, std::size_t size) {
    std::string block(1 << 20, '\0');
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<char>(i * 2654435761u >> 13);
    const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    for (std::size_t done = 0; done < size;) {
        const std::size_t n = std::min(block.size(), size - done);
        done += static_cast<std::size_t>(::write(fd, block.data(), n));
    }
    ::close(fd);
}

std::vector<std::string> makeTree(const std::string& root, const Sizes& sizes) {
    mkdir(root.c_str(), 0755);
    std::vector<std::string> files;
    for (int d = 0; d < sizes.folders; ++d) {
        const std::string folder = root + "/d" + std::to_string(d);
        mkdir(folder.c_str(), 0755);
        for (int f = 0; f < sizes.filesPerFolder; ++f) {
            files.push_back(folder + "/f" + std::to_string(f) + ".dat");
            writeFile(files.back(),
                      1024 + (static_cast<std::size_t>(d * 7919 + f * 104729) % 64512));
        }
    }
    return files;
}

class NoProgress : public FileOperationProgress {
  public:
    void update(const FileOperationStatus&) override {}
};

// What the progress window's feed costs: a lock and a copy per report.
class LockedProgress : public FileOperationProgress {
  public:
    void update(const FileOperationStatus& status) override {
        std::lock_guard lock(mutex_);
        last_ = status;
    }

  private:
    std::mutex mutex_;
    FileOperationStatus last_;
};

bool runEngine(FileOperationKind kind, std::vector<std::string> sources, std::string destination,
               FileOperationProgress& progress) {
    ScriptedFileOperationDialogs dialogs;
    dialogs.deleteAnswers = {true};
    GioTrash trash;
    FileOperationEngine engine(dialogs, progress, trash);
    FileOperationRequest request;
    request.kind = kind;
    request.sources = std::move(sources);
    request.destination = std::move(destination);
    return engine.run(request);
}

void print(const char* what, const Figure& tool, const Figure& ours, double target) {
    std::printf("%-44s tool %8.3f s  ours %8.3f s (worst %.3f)  ratio %.2f  (target <= %.2f)\n",
                what, tool.median, ours.median, ours.worst, ours.median / tool.median, target);
}

// The longest gap between ticks of a 10 ms timer while the service copies `source`.
double longestEventWaitMs(const std::string& source, const std::string& destination) {
    QWidget owner;
    owner.show();
    QtFileOperations service(&owner);
    QElapsedTimer clock;
    qint64 last = 0, longest = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longest = std::max(longest, clock.elapsed() - last);
        last = clock.elapsed();
    });
    clock.start();
    tick.start(10);
    FileOperationRequest request;
    request.kind = FileOperationKind::Copy;
    request.sources = {source};
    request.destination = destination;
    service.run(request);
    return static_cast<double>(longest);
}

} // namespace

int main(int argc, char** argv) {
    const bool quick = argc > 1 && std::string(argv[1]) == "--quick";
    const Sizes sizes = quick ? Sizes{64u << 20, 10, 100} : Sizes{1u << 30, 100, 100};
    char pattern[] = "/tmp/tavrin-fileop-bench-XXXXXX";
    const std::string base = mkdtemp(pattern);
    setenv("XDG_DATA_HOME", (base + "/data").c_str(), 1); // never the user's trash
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    mkdir((base + "/other").c_str(), 0755);
    auto mount = std::make_unique<TmpfsMount>(base + "/other", "size=2g");
    TmpfsMount& tmpfs = *mount;
    std::printf("data in %s; second file system: %s\n", base.c_str(),
                tmpfs.mounted() ? "tmpfs" : "none (not allowed to mount)");

    const std::string big = base + "/big.bin";
    writeFile(big, sizes.bigFile);
    const auto clearCopy = [&] { removeTree(base + "/copy"); };
    const auto makeCopyFolder = [&] {
        clearCopy();
        mkdir((base + "/copy").c_str(), 0755);
    };
    NoProgress none;
    LockedProgress locked;
    print("one big file, copy (cp)",
          measure(clearCopy,
                  [&] {
                      runTool({"cp", big, base + "/copy"});
                  }),
          measure(makeCopyFolder,
                  [&] { runEngine(FileOperationKind::Copy, {big}, base + "/copy", none); }),
          1.1);

    const std::string tree = base + "/tree";
    makeTree(tree, sizes);
    const auto copyTree = [&] { runEngine(FileOperationKind::Copy, {tree}, base + "/copy", none); };
    const double treeRatio = pairedRatio(
        clearCopy,
        [&] {
            runTool({"cp", "-r", tree, base + "/copy"});
        },
        makeCopyFolder, copyTree);
    std::printf("%-44s ratio %.2f, median of 8 alternating pairs  (target <= 1.50)\n",
                "small files in folders, copy (cp -r)", treeRatio);
    const double reported = pairedRatio(makeCopyFolder, copyTree, makeCopyFolder, [&] {
        runEngine(FileOperationKind::Copy, {tree}, base + "/copy", locked);
    });
    std::printf("%-44s %.3f (target <= 1.02)\n", "progress reports, with / without", reported);

    if (tmpfs.mounted()) {
        const std::string moving = base + "/moving";
        const auto fresh = [&] {
            removeTree(base + "/other/moving");
            removeTree(moving);
            runTool({"cp", "-r", tree, moving});
        };
        print("small files, move to tmpfs (mv)",
              measure(fresh,
                      [&] {
                          runTool({"mv", moving, base + "/other"});
                      }),
              measure(fresh,
                      [&] { runEngine(FileOperationKind::Move, {moving}, base + "/other", none); }),
              1.5);
        removeTree(base + "/other/moving");
    }

    const std::string trashSource = base + "/totrash";
    std::vector<std::string> trashFiles;
    const auto refill = [&] {
        removeTree(base + "/data");
        removeTree(trashSource);
        trashFiles = makeTree(trashSource, sizes);
    };
    const Figure gio = measure(refill, [&] {
        std::vector<std::string> args = {"gio", "trash"};
        args.insert(args.end(), trashFiles.begin(), trashFiles.end());
        runTool(args);
    });
    const Figure ours =
        measure(refill, [&] { runEngine(FileOperationKind::Delete, trashFiles, {}, none); });
    print("files to the trash (gio trash)", gio, ours, 1.5);

    clearCopy();
    mkdir((base + "/copy").c_str(), 0755);
    std::printf("%-44s %.0f ms (target <= 50)\n", "longest event wait during a copy",
                longestEventWaitMs(tree, base + "/copy"));
    mount.reset();
    removeTree(base);
    return 0;
}
