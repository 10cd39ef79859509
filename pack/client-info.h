#pragma once
// The launcher's INFO: the client's own [Version] section, line for line as
// the client's INFO has it (the launcher compares the two through Qt's INI
// reader, so they must read the same), and a [Package] section that
// describes the package beside it.

#include <string>

#include "extract/package-description.h"

namespace pack {

// Reads the client's INFO: false with `error` when it is missing or
// unreadable, has no [Version] section, or its build_version is not a
// decimal number from 1 up. `version_lines` gets the section's key lines.
bool ReadClientInfo(std::string const& path, std::string* version_lines, std::string* error);

std::string InfoText(std::string const& version_lines, PackageDescription const& d);

// Reads a written INFO as the launcher will: its [Version] must equal the
// client's, key by key, and its [Package] must describe `d`.
bool CheckInfo(std::string const& written, std::string const& client_info,
               PackageDescription const& d, std::string* error);

}  // namespace pack
