#pragma once

#include <functional>
#include <string>

// Runs `check` in a child process as the unprivileged user "nobody", so file modes count
// (root ignores them), after handing `folder` and everything in it to that user. When the
// tests already run unprivileged, the child keeps its user. True when `check` returned
// true; what it wrote to stderr shows in the test's output.
bool asUnprivileged(const std::string& folder, const std::function<bool()>& check);
