#pragma once
// Reads a written package back once, through the extractor's own reader,
// before it takes its name: each entry must be the one packed, in order,
// with its size, and the package must end where it should.

#include <string>
#include <vector>

#include "extract/package-description.h"
#include "pack/package-writer.h"
#include "pack/tree-scan.h"

namespace pack {

// False with `error` set on any difference; `d` describes the package.
bool ReadBack(std::string const& package, std::vector<TreeEntry> const& packed, Format format,
              PackageDescription* d, std::string* error);

}  // namespace pack
