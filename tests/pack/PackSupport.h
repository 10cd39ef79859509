#pragma once
// What the korvane-pack suites share: a client bundle shaped as real ones
// are, and runs of the built tool, as root or as the normal user.

#include <string>
#include <vector>

#include "tests/app_launcher/E2ESupport.h"

namespace packtest {

// A file with exactly these bits, its folders made on the way.
bool Put(std::string const& path, std::string const& content, mode_t mode = 0644);

// A client bundle at `app`: the demo client as Contents/MacOS/korvane-ui,
// an INFO of build `build`, a framework with Versions/Current and relative
// links, a hard link, an empty folder, a UTF-8 name, a read-only file and
// an executable. No group or other write bits, so that a umask of 022
// installs it unchanged.
bool MakeClient(std::string const& app, int build = 7);

// The formats korvane-pack writes.
std::vector<std::string> Formats();

// Runs korvane-pack (a copy the user can reach wherever the checkout lies)
// with `args`: its exit code, and what it printed in `out`.
int Pack(std::vector<std::string> const& args, std::string* out = nullptr,
         e2e::As as = e2e::As::Root);

}  // namespace packtest
