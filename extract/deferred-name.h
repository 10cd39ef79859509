#pragma once
// One entry of the package, the client's executable, takes its name only
// after every other entry is on disk. Anything may start the installed
// client while it is written (the Dock, a login item): until the bundle is
// whole a start finds no executable and fails, instead of running a part.
//
// The entry is written under a hidden random name in its own folder and
// renamed in place at the end, so the finished bundle holds exactly the
// package's entries. Until then the temporary name lies inside the folder
// being extracted, which a failed or interrupted install removes whole.

#include <string>

class DeferredName {
public:
    // `relative`: the entry's path below `root` ("" defers nothing).
    DeferredName(std::string root, std::string const& relative);

    // Where an entry named `name` (as the package spells it) is written:
    // the temporary name for the deferred entry, else root + "/" + name.
    std::string PathFor(std::string const& name, bool is_dir);
    // The same for a hard link's target: the executable, once written,
    // is found under its temporary name.
    std::string LinkTargetFor(std::string const& name) const;
    // After the last entry: the executable takes its name. False with `why`
    // set when the rename failed; true when nothing was deferred.
    bool Finish(std::string* why);

private:
    bool Matches(std::string const& name) const;

    std::string root_;
    std::string relative_;  // normalised
    std::string final_;
    std::string temp_;
    bool written_ = false;
};
