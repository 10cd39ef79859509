// Feeds arbitrary bytes as both INFO files (the installed client's and the
// launcher's) to the version reader and the upgrade decision, and checks
// that a field stays within what the file holds and that the decision never
// depends on anything but the build numbers and the executable.

#include <unistd.h>

#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "deskui/UIPathManager.h"
#include "service/mac/mac-service-detail.h"
#include "service/mac/mac-service.h"

namespace {

std::string g_dir;

void RemoveTempDir() {
    if (g_dir.empty()) return;
    unlink((g_dir + "/INFO").c_str());
    rmdir(g_dir.c_str());
}

// One folder serves as both Resources folders; memory-backed when possible.
std::string const& TempDir() {
    if (g_dir.empty()) {
        char const* base = getenv("TMPDIR");
        if (access("/dev/shm", W_OK) == 0) base = "/dev/shm";
        std::string tmpl = std::string(base && *base ? base : "/tmp") + "/korvane-fuzz-info-XXXXXX";
        std::vector<char> buf(tmpl.begin(), tmpl.end());
        buf.push_back('\0');
        if (mkdtemp(buf.data()) == nullptr) abort();
        g_dir = buf.data();
        atexit(RemoveTempDir);
        QString const dir = QString::fromStdString(g_dir);
        UIPathManager::getInstance()->setPath("user_korvane_resource_path", dir);
        UIPathManager::getInstance()->setPath("root_resource_path", dir);
        UIPathManager::getInstance()->setPath("user_korvane_ui_path", dir + "/INFO");
        UIPathManager::getInstance()->setPath("user_korvane_app_path", dir + "/app");
    }
    return g_dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, size_t size) {
    std::string const path = TempDir() + "/INFO";
    FILE* f = fopen(path.c_str(), "wb");
    if (f == nullptr) abort();
    if (size > 0 && fwrite(data, 1, size, f) != size) abort();
    fclose(f);

    MacService service;
    service.LoadTargetVerInfo();
    service.LoadSourceVerInfo();
    // Both records came from the same file.
    if (service.source_version.build_version != service.target_version.build_version) abort();

    // The executable exists (the INFO file stands in for it) and the builds
    // are equal: never an upgrade, whatever the text.
    if (service.IsNeedUpgrade()) abort();

    int const n = macservice_detail::BuildNumber(service.target_version.build_version);
    std::string const text = std::to_string(n);
    // A number that fits reads back as itself.
    if (n > INT32_MIN && n < INT32_MAX && macservice_detail::BuildNumber(text) != n) abort();
    return 0;
}
