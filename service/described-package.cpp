#define KLOG_SOURCE "cloud-service"
#define KLOG_COMPONENT "service_debug"

// The launcher INFO's description of the package it ships.

#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "deskui/UIPathManager.h"
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
    if (!packagedesc::Accept(values.entries, values.bytes, values.size, size, &description_,
                             &why)) {
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
