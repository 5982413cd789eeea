// Messages from the browser's debugging pipe: whatever bytes arrive, the messages taken
// out are exactly the NUL-ended pieces of the stream, in order, and the end of the stream
// breaks the pipe instead of waiting.
#include "fuzz/FuzzSupport.h"
#include "platform/process/MessagePipe.h"

#include <fcntl.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // What fits into a pipe's buffer without a reader.
    const std::string_view bytes = fuzz::bytes(data, std::min<std::size_t>(size, 60000));
    int in[2], out[2];
    FUZZ_CHECK(pipe2(in, O_CLOEXEC) == 0 && pipe2(out, O_CLOEXEC) == 0);
    FUZZ_CHECK(write(in[1], bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()));
    close(in[1]);
    close(out[0]);
    MessagePipe pipe{FileDescriptor(out[1]), FileDescriptor(in[0]), 1024};

    std::size_t start = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (auto message = pipe.receive(deadline)) {
        const auto nul = bytes.find('\0', start);
        FUZZ_CHECK(nul != std::string_view::npos);
        FUZZ_CHECK(*message == bytes.substr(start, nul - start));
        start = nul + 1;
    }
    FUZZ_CHECK(pipe.broken());
    FUZZ_CHECK(bytes.find('\0', start) == std::string_view::npos); // every ended message came
    FUZZ_CHECK(!pipe.send("x", deadline));
    return 0;
}
