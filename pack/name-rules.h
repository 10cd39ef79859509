#pragma once
// What a Mac makes of a name or a link in the client bundle: its volumes
// compare names without letter case and Unicode normalisation, and the
// installed client must keep every link inside itself.

#include <string>

namespace pack {

// Why a single name cannot go into a package ("" when it can).
std::string NameProblem(std::string const& name);

// The form two names share when a case-insensitive, normalisation-
// insensitive volume takes them for one: NFC, then case-folded. `name`
// must be valid UTF-8.
std::string FoldedName(std::string const& name);

// Whether a link in the package folder `dir` ("Contents/Frameworks/X")
// whose target is `target` points into the package, resolved lexically;
// an absolute target never does.
bool TargetStaysInside(std::string const& dir, std::string const& target);

}  // namespace pack
