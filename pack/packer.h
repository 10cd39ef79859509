#pragma once
// korvane-pack: turns a client bundle (Korvane.app) into the two files the
// launcher reads from its Resources folder, package/tarnwick.pkv and INFO.
//
// Everything is checked before anything is written. Both files are written
// under temporary names beside their targets; the package is read back
// through the extractor's own reader before it takes its name, and the INFO
// takes its name last, so an INFO never describes a package that is not
// there. On failure the Resources folder is left as it was.

#include <cstdint>
#include <functional>
#include <string>

#include "pack/package-writer.h"

namespace pack {

struct Options {
    std::string client;     // the client bundle, CLIENT.app
    std::string resources;  // the launcher bundle's Contents/Resources
    Format format = Format::TarGz;
    int level = -1;  // -1: the format's default
    // Later mtimes are packed as this one (SOURCE_DATE_EPOCH); -1: none.
    int64_t clamp_mtime = -1;
};

// Test seams.
struct Hooks {
    // Called with the package's temporary path before it is read back.
    std::function<void(std::string const& package)> before_check;
};
void SetHooks(Hooks hooks);

// False with `error` ("<path>: <reason>") on any failure. Entry names are
// converted through LC_CTYPE, which must be a UTF-8 locale.
bool Run(Options const& options, std::string* error);

}  // namespace pack
