#pragma once

#include <cstdlib>
#include <memory>

// Owns a reply or error that xcb allocated with malloc and frees it at the end of scope.
struct XcbFree {
    void operator()(void* p) const { std::free(p); }
};

template <typename T> using XcbReply = std::unique_ptr<T, XcbFree>;
