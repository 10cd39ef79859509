// deskui_helper lang            prints VeltraneLocale's code for this environment
// deskui_helper dpi             prints DPIinfo::getDPI() with an application up
// deskui_helper single [gate]   constructs the application, prints "first",
//                               "running" or "unguarded", then holds it until SIGTERM; with
//                               "gate" it first waits for EOF on stdin so that
//                               several helpers can start at the same instant.
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "deskui/DPIinfo.h"
#include "deskui/QtSingleApplication.h"
#include "deskui/VeltraneLocale.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    alarm(60);  // never outlive a broken test
    if (std::strcmp(argv[1], "lang") == 0) {
        std::printf("%s\n", qPrintable(VeltraneLocale::getInstance()->getDefaultLanguage()));
        return 0;
    }
    if (std::strcmp(argv[1], "dpi") == 0) {
        QApplication app(argc, argv);
        std::printf("%.2f\n", DPIinfo::getInstance()->getDPI());
        return 0;
    }
    if (std::strcmp(argv[1], "single") == 0) {
        // single [gate] [--stand-in FOLDER]
        for (int i = 2; i + 1 < argc; ++i)
            if (std::strcmp(argv[i], "--stand-in") == 0)
                QtSingleApplication::setStandInBase(QString::fromLocal8Bit(argv[i + 1]));
        if (argc > 2 && std::strcmp(argv[2], "gate") == 0) {
            char c;
            while (read(0, &c, 1) > 0) {
            }
        }
        QtSingleApplication app(argc, argv, true);
        std::printf("%s\n", app.isRunning() ? "running" : app.isGuarded() ? "first" : "unguarded");
        std::fflush(stdout);
        pause();
        return 0;
    }
    return 2;
}
