#include "fs/TmpNameGen.h"

#include <sys/time.h>
#include <unistd.h>

#include <cstdint>

TmpNameGen& TmpNameGen::getInstance() {
    static TmpNameGen instance;
    return instance;
}

TmpNameGen::TmpNameGen() : engine_(1) { reseed(); }

void TmpNameGen::reseed() {
    std::lock_guard<std::mutex> guard(lock_);
    uint32_t seed = 0;
    try {
        std::random_device device("/dev/urandom");
        seed = static_cast<uint32_t>(device());
    } catch (...) {
        // No random device (a sandbox without /dev): names only need to
        // differ between runs and processes, so time and pid will do.
        struct timeval tv;
        gettimeofday(&tv, nullptr);
        seed = static_cast<uint32_t>(tv.tv_sec) * 1000003u ^
               static_cast<uint32_t>(tv.tv_usec) * 7919u ^
               static_cast<uint32_t>(getpid()) * 2654435761u;
    }
    engine_.seed(seed);  // seed mod 2^31-1, and 1 in place of 0
}

std::string TmpNameGen::getTmpName() {
    static char const map[] = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ-_";
    static_assert(sizeof(map) == 64 + 1, "the alphabet has 64 symbols");
    static std::uniform_int_distribution<int> dis(0, 63);

    std::lock_guard<std::mutex> guard(lock_);
    std::string name;
    name.reserve(8);
    for (int i = 0; i < 8; ++i) name.push_back(map[dis(engine_)]);
    return name;
}

std::string TmpNameGen::getTmpPath(std::string const& dir) { return dir + "/" + getTmpName(); }
