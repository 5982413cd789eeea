#include "platform/process/MessagePipe.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;

MessagePipe::Deadline soon(std::chrono::milliseconds ms = 2000ms) {
    return std::chrono::steady_clock::now() + ms;
}

// A MessagePipe talking to the test: the test writes what the pipe reads and reads what
// it writes, through plain descriptors.
class MessagePipeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        int toPipe[2], fromPipe[2];
        ASSERT_EQ(pipe2(toPipe, O_CLOEXEC), 0);
        ASSERT_EQ(pipe2(fromPipe, O_CLOEXEC), 0);
        feed = FileDescriptor(toPipe[1]);
        drain = FileDescriptor(fromPipe[0]);
        make(FileDescriptor(fromPipe[1]), FileDescriptor(toPipe[0]));
    }
    void make(FileDescriptor out, FileDescriptor in, std::size_t limit = MessagePipe::kMaxMessage) {
        messages = std::make_unique<MessagePipe>(std::move(out), std::move(in), limit);
    }
    void write(std::string_view bytes) {
        ASSERT_EQ(::write(feed.get(), bytes.data(), bytes.size()),
                  static_cast<ssize_t>(bytes.size()));
    }

    FileDescriptor feed, drain;
    std::unique_ptr<MessagePipe> messages;
};

TEST_F(MessagePipeTest, MessagesAreCutAtEachNulWhateverTheWritesLookLike) {
    struct Case {
        std::vector<std::string> writes;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases{
        {{"{\"id\":1}\0"s}, {"{\"id\":1}"}},
        {{"{\"id\":", "2}\0"s}, {"{\"id\":2}"}},
        {{"a\0b\0c\0"s}, {"a", "b", "c"}},
        {{"\0"s, "x\0"s}, {"", "x"}},
        {{"\xff\xfe raw \n bytes\0"s}, {"\xff\xfe raw \n bytes"}},
        {{"first\0sec"s, "ond\0"s}, {"first", "second"}},
    };
    for (const auto& c : cases) {
        SetUp();
        for (const auto& w : c.writes)
            write(w);
        for (const auto& expected : c.expected) {
            const auto got = messages->receive(soon());
            ASSERT_TRUE(got) << expected;
            EXPECT_EQ(*got, expected);
        }
        EXPECT_FALSE(messages->broken());
    }
}

TEST_F(MessagePipeTest, ATimeoutLeavesThePipeUsableAndKeepsAPartialMessage) {
    write("par");
    EXPECT_FALSE(messages->receive(soon(50ms)));
    EXPECT_FALSE(messages->broken());
    write("tial\0"s);
    EXPECT_EQ(messages->receive(soon()), "partial");
}

TEST_F(MessagePipeTest, TheOtherSideClosingBreaksThePipe) {
    write("whole\0cut"s);
    feed.close();
    EXPECT_EQ(messages->receive(soon()), "whole");
    EXPECT_FALSE(messages->receive(soon()));
    EXPECT_TRUE(messages->broken());
    EXPECT_FALSE(messages->send("late", soon()));
}

TEST_F(MessagePipeTest, AMessageBeyondTheLimitBreaksThePipe) {
    int a[2], b[2];
    ASSERT_EQ(pipe2(a, O_CLOEXEC), 0);
    ASSERT_EQ(pipe2(b, O_CLOEXEC), 0);
    feed = FileDescriptor(a[1]);
    drain = FileDescriptor(b[0]);
    make(FileDescriptor(b[1]), FileDescriptor(a[0]), 16);
    write("short\0"s);
    write(std::string(40, 'x'));
    EXPECT_EQ(messages->receive(soon()), "short");
    EXPECT_FALSE(messages->receive(soon()));
    EXPECT_TRUE(messages->broken());
}

TEST_F(MessagePipeTest, SendingToAClosedReaderFailsWithoutEndingTheProgram) {
    drain.close();
    EXPECT_FALSE(messages->send("nobody reads this", soon()));
    EXPECT_TRUE(messages->broken());
}

TEST_F(MessagePipeTest, ALargeMessageArrivesWholeWhileTheOtherSideReads) {
    const std::string big(3 << 20, 'm');
    std::string received;
    std::thread reader([&] {
        char chunk[65536];
        ssize_t n;
        while ((n = ::read(drain.get(), chunk, sizeof chunk)) > 0)
            received.append(chunk, static_cast<std::size_t>(n));
    });
    EXPECT_TRUE(messages->send(big, soon(10000ms)));
    messages->close();
    reader.join();
    EXPECT_EQ(received, big + '\0');
}

TEST_F(MessagePipeTest, ASendNobodyReadsTimesOutAndBreaksThePipe) {
    EXPECT_FALSE(messages->send(std::string(1 << 20, 'q'), soon(100ms)));
    EXPECT_TRUE(messages->broken());
}

} // namespace
