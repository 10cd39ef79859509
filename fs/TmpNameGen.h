#pragma once
// Short random names for temporary files and folders: eight characters from a
// 64-symbol alphabet that is safe in file names. Not cryptographic. One
// process-wide instance; every use of the engine is serialised.

#include <mutex>
#include <random>
#include <string>

class TmpNameGen {
public:
    static TmpNameGen& getInstance();

    TmpNameGen();
    TmpNameGen(TmpNameGen const&) = delete;
    TmpNameGen& operator=(TmpNameGen const&) = delete;

    // Seeds from /dev/urandom; falls back to the time and pid when the
    // random device can't be opened.
    void reseed();
    // Eight characters of "0-9a-zA-Z-_".
    std::string getTmpName();
    // dir + "/" + getTmpName(); the file system is not consulted.
    std::string getTmpPath(std::string const& dir);

private:
    std::mutex lock_;
    std::minstd_rand engine_;
};
