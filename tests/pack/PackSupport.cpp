#include "tests/pack/PackSupport.h"

#include <sys/stat.h>
#include <unistd.h>

#include "tests/support/TestSupport.h"

namespace packtest {
namespace {

std::string Parent(std::string const& path) { return path.substr(0, path.rfind('/')); }

// The built tool may lie below a private folder: the user runs a copy.
std::string StagedTool() {
    static testsupport::TempDir const dir("korvane-pack-tool");
    static std::string const exe = [] {
        std::string const path = dir / "korvane-pack";
        bool const ok = testsupport::OpenToOthers(dir.path()) &&
                        testsupport::WriteFile(path, testsupport::ReadFile(KORVANE_PACK_EXE)) &&
                        chmod(path.c_str(), 0755) == 0;
        return ok ? path : std::string(KORVANE_PACK_EXE);
    }();
    return exe;
}

}  // namespace

bool Put(std::string const& path, std::string const& content, mode_t mode) {
    return testsupport::MakeDirs(Parent(path)) && testsupport::WriteFile(path, content, mode) &&
           chmod(path.c_str(), mode) == 0;
}

bool MakeClient(std::string const& app, int build) {
    std::string const c = app + "/Contents";
    std::string const fw = c + "/Frameworks/Foo.framework";
    std::string const ui = testsupport::ReadFile(KORVANE_UI_EXE);
    return !ui.empty() && Put(c + "/MacOS/korvane-ui", ui, 0755) &&
           Put(c + "/Info.plist", "<plist/>\n") &&
           Put(c + "/Resources/INFO",
               "[Version]\nmajor_version=2\nminor_version=5\nbuild_version=" +
                   std::to_string(build) + "\nicon_overlay_version=3\n\n[Other]\nkey=1\n") &&
           Put(fw + "/Versions/A/Foo", "framework binary\n", 0755) &&
           Put(fw + "/Versions/A/Resources/strings.txt", "strings\n") &&
           symlink("A", (fw + "/Versions/Current").c_str()) == 0 &&
           symlink("Versions/Current/Foo", (fw + "/Foo").c_str()) == 0 &&
           symlink("Versions/Current/Resources", (fw + "/Resources").c_str()) == 0 &&
           Put(c + "/Resources/Grüße.txt", "grüße\n") &&
           Put(c + "/Resources/readonly.txt", "read only\n", 0444) &&
           Put(c + "/Resources/tool.sh", "#!/bin/sh\n", 0755) &&
           Put(c + "/Resources/shared/a.bin", std::string(5000, 'x')) &&
           link((c + "/Resources/shared/a.bin").c_str(), (c + "/Resources/b.bin").c_str()) == 0 &&
           testsupport::MakeDirs(c + "/Resources/empty") &&
           chmod((c + "/Resources/empty").c_str(), 0755) == 0;
}

std::vector<std::string> Formats() { return {"tar.gz", "tar", "zip", "tar.xz", "tar.zst"}; }

int Pack(std::vector<std::string> const& args, std::string* out, e2e::As as) {
    std::vector<std::string> argv{StagedTool()};
    argv.insert(argv.end(), args.begin(), args.end());
    return e2e::RunCommand(argv, {}, 120000, out, as);
}

}  // namespace packtest
