#pragma once
// The install mark: a file beside the bundle, app + ".installing", that says
// where the last complete bundle lies while a deployment is under way: the
// bundle's own name, one of its backup names, or nothing when there is no
// complete bundle at all. Every change of the bundle's folders is preceded
// by a mark that stays true across a crash at any point, so the next start
// can tell a complete bundle from a fragment.

#include <string>

namespace installmark {

std::string PathFor(std::string const& app);
// Where a deployment stopped by a signal moves its part of a bundle, for
// the next start to remove: app + ".part".
std::string PartPathFor(std::string const& app);

// Backups are named GetAppBackupDir(app, 0 .. kBackupAttempts - 1).
constexpr int kBackupAttempts = 10;

// Where the last complete bundle lies, as the mark and the folders tell.
constexpr int kAtApp = -1, kNowhere = -2;
struct State {
    bool pending = false;  // a mark left by an earlier deployment
    std::string marked;    // what it names
    // The bundle at app is complete: no mark, a mark naming it, or one naming
    // a backup that no longer holds a bundle (never made, or moved back).
    bool vouches_for_app = true;
    // kAtApp, kNowhere, or the attempt number of the backup that holds it.
    int complete = kNowhere;
};
// The one rule both the start of the client and the resumption of an
// interrupted install go by.
State Read(std::string const& app);

// Replaces the mark in one rename, so a reader sees the old or the new text.
bool Write(std::string const& mark, std::string const& content);
// False when there is no mark; a mark that cannot be read names nothing.
bool ReadText(std::string const& mark, std::string& content);
bool Clear(std::string const& mark);

}  // namespace installmark
