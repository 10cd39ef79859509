#pragma once
// What the launcher's in-process tests share: one QApplication for the test
// process, and the source and build folders (the environment may move them).

#include <QApplication>

#include <cstdlib>
#include <string>

namespace launchertest {

inline QApplication* App() {
    static int argc = 1;
    static char arg0[] = "app_launcher_test";
    static char* argv[] = {arg0, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return app;
}

inline std::string Folder(char const* variable, char const* built_in) {
    char const* v = getenv(variable);
    return v && *v ? v : built_in;
}
inline std::string SourceDir() { return Folder("KORVANE_SOURCE_DIR", KORVANE_TEST_SOURCE_DIR); }
inline std::string BuildDir() { return Folder("KORVANE_BINARY_DIR", KORVANE_TEST_BINARY_DIR); }

}  // namespace launchertest
