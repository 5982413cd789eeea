#include "platform/process/SpawnedProgram.h"

#include "platform/process/MessagePipe.h"

#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

// A shell that answers on descriptor 4: first the descriptors it holds, then each line
// it reads from descriptor 3.
const std::vector<std::string> kEcho{
    "/bin/sh", "-c",
    "printf '%s\\0' \"$(ls /proc/self/fd | sort -n | tr '\\n' ' ')\" >&4;"
    " while read -r line <&3; do printf '%s\\0' \"$line\" >&4; done"};

struct Pipes {
    Pipes() {
        int a[2], b[2];
        if (pipe2(a, O_CLOEXEC) != 0 || pipe2(b, O_CLOEXEC) != 0)
            return;
        childReads = FileDescriptor(a[0]);
        childWrites = FileDescriptor(b[1]);
        messages = std::make_unique<MessagePipe>(FileDescriptor(a[1]), FileDescriptor(b[0]));
    }
    FileDescriptor childReads, childWrites;
    std::unique_ptr<MessagePipe> messages;
};

MessagePipe::Deadline soon() {
    return std::chrono::steady_clock::now() + 5s;
}

TEST(SpawnedProgramTest, TheProgramHoldsItsTwoPipesAtThreeAndFourAndNothingElse) {
    Pipes pipes;
    // A stray descriptor of ours without close-on-exec must not reach the program.
    FileDescriptor stray(open("/dev/null", O_RDONLY));
    auto program = SpawnedProgram::start(kEcho, {pipes.childReads.get(), pipes.childWrites.get()});
    ASSERT_TRUE(program);
    pipes.childReads.close();
    pipes.childWrites.close();
    // ls itself opens one more descriptor to read the folder.
    const auto fds = pipes.messages->receive(soon());
    ASSERT_TRUE(fds);
    EXPECT_EQ(fds->substr(0, 10), "0 1 2 3 4 ") << *fds;
    EXPECT_LE(fds->size(), 13u) << *fds;
    ASSERT_TRUE(pipes.messages->send("hello\n", soon()));
    EXPECT_EQ(pipes.messages->receive(soon()), "hello");
    EXPECT_TRUE(program->running());
}

TEST(SpawnedProgramTest, AnEndedProgramIsReapedAndAKilledOneToo) {
    auto quick = SpawnedProgram::start({"/bin/true"}, {});
    ASSERT_TRUE(quick);
    EXPECT_TRUE(quick->waitForExit(5s));
    EXPECT_FALSE(quick->running());
    EXPECT_EQ(waitpid(quick->pid(), nullptr, WNOHANG), -1) << "no zombie left to collect";

    auto slow = SpawnedProgram::start({"sleep", "60"}, {});
    ASSERT_TRUE(slow);
    EXPECT_FALSE(slow->waitForExit(50ms));
    slow->kill();
    EXPECT_FALSE(slow->running());
    EXPECT_EQ(waitpid(slow->pid(), nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST(SpawnedProgramTest, AMissingProgramGivesNothing) {
    EXPECT_FALSE(SpawnedProgram::start({"/nonexistent/program"}, {}));
    EXPECT_FALSE(SpawnedProgram::start({"no-such-program-on-path-xyz"}, {}));
    EXPECT_FALSE(SpawnedProgram::start({}, {}));
}

} // namespace
