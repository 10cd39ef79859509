#define KLOG_SOURCE "cloud-service"
#define KLOG_COMPONENT "service_debug"

// The launcher INFO's description of the package it ships.

#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "deskui/UIPathManager.h"
#include "extract/sha256.h"
#include "log/LogMacros.h"
#include "service/cloud-service.h"

namespace {

std::string RegistryPath(char const* key) {
    return UIPathManager::getInstance()->getPath(QString::fromLatin1(key)).toUtf8().toStdString();
}

}  // namespace

bool Service::DescribedPackage(PackageDescription* out) {
    std::string const package = RegistryPath("root_resource_path") + "/package/tarnwick.pkv";
    struct stat st;
    if (stat(package.c_str(), &st) != 0) return false;  // the open reports it
    auto const size = static_cast<uint64_t>(st.st_size);
    // Read once per run: the verdict, and its warning, are given once.
    if (description_read_ && description_package_size_ == size) {
        if (description_valid_) *out = description_;
        return description_valid_;
    }
    description_read_ = true;
    description_package_size_ = size;
    description_valid_ = false;

    std::string const info = RegistryPath("root_resource_path") + "/INFO";
    std::ifstream in(info, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    packagedesc::SectionValues values;
    std::string const ini = text.str();
    size_t const bom = packagedesc::Utf8BomLength(ini.data(), ini.size());
    if (!packagedesc::FindSection(ini.substr(bom), &values)) {
        KLOG(Debug, "'%s' does not describe the package: its entries are counted\n", info.c_str());
        return false;
    }
    std::string why;
    if (!packagedesc::Accept(values.entries, values.bytes, values.size, values.sha256, size,
                             &description_, &why)) {
        KLOG(Warning, "package description in '%s' ignored: %s\n", info.c_str(), why.c_str());
        return false;
    }
    KLOG(Debug, "package described: %llu entries, %llu bytes\n",
         static_cast<unsigned long long>(description_.entries),
         static_cast<unsigned long long>(description_.bytes));
    description_valid_ = true;
    *out = description_;
    return true;
}

bool Service::PackageReady(bool check_room) {
    PackageDescription described;
    bool const has_digest = DescribedPackage(&described) && !described.sha256.empty();
    std::string const P = RegistryPath("root_resource_path") + "/package/tarnwick.pkv";
    // The digest reads the whole package once more: on a thread of its own,
    // beside the room check, which changes nothing either.
    std::string digest, error;
    bool hashed = false;
    long long ms = 0;
    std::thread hasher;
    if (has_digest) {
        hasher = std::thread([&] {
            auto const start = std::chrono::steady_clock::now();
            hashed = Sha256File(P, &digest, &error);
            ms = static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                            std::chrono::steady_clock::now() - start)
                                            .count());
        });
    }
    bool const fits = !check_room || PackageFits();
    if (hasher.joinable()) hasher.join();
    if (!fits) return false;
    if (!has_digest) return true;
    KLOG(Debug, "package digest checked in %lld ms\n", ms);
    if (!hashed) {
        KLOG(Error, "package '%s' cannot be read for its SHA-256: %s\n", P.c_str(), error.c_str());
        return false;
    }
    if (digest != described.sha256) {
        KLOG(Error,
             "package '%s' is not the one described: its SHA-256 is %s, the description names "
             "%s\n",
             P.c_str(), digest.c_str(), described.sha256.c_str());
        return false;
    }
    return true;
}
