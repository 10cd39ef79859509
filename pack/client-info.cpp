#include "pack/client-info.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryFile>
#include <QVariant>
#include <cerrno>
#include <climits>
#include <fstream>
#include <map>

#include "utils/ErrnoText.h"

namespace pack {
namespace {

QSettings::Status ReadGroup(std::string const& path, char const* group,
                            std::map<QString, QVariant>* out) {
    // The INI reader takes a byte order mark for part of the first line: it
    // reads a copy without one, as the launcher does.
    QFile file(QString::fromStdString(path));
    QTemporaryFile copy;
    QString read_path = QString::fromStdString(path);
    if (file.open(QIODevice::ReadOnly)) {
        QByteArray const head = file.peek(3);
        if (packagedesc::Utf8BomLength(head.constData(), static_cast<size_t>(head.size())) > 0) {
            file.seek(3);
            QByteArray const rest = file.readAll();
            if (!copy.open() || copy.write(rest) != rest.size() || !copy.flush())
                return QSettings::AccessError;
            read_path = copy.fileName();
        }
    }
    QSettings ini(read_path, QSettings::IniFormat);
    ini.beginGroup(QString::fromLatin1(group));
    for (QString const& key : ini.childKeys()) (*out)[key] = ini.value(key);
    return ini.status();
}

bool IsBuildNumber(QString const& text) {
    if (text.isEmpty() || text.size() > 10) return false;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    qulonglong const v = text.toULongLong();
    return v >= 1 && v <= INT_MAX;
}

}  // namespace

bool ReadClientInfo(std::string const& path, std::string* version_lines, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = path + ": the client's INFO cannot be read: " + korvane::utils::ErrnoText(errno);
        return false;
    }
    // The section's lines as they stand, in their order, comments too:
    // whatever quoting or escapes they use, the launcher reads the same values.
    std::string line, lines;
    bool in_version = false;
    for (bool first_line = true; std::getline(in, line); first_line = false) {
        if (first_line) line.erase(0, packagedesc::Utf8BomLength(line.data(), line.size()));
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t const first = line.find_first_not_of(" \t");
        if (first == std::string::npos) continue;
        if (line[first] == '[') {
            size_t const close = line.find(']', first);
            in_version = close != std::string::npos &&
                         line.compare(first, close + 1 - first, "[Version]") == 0;
            continue;
        }
        if (in_version) lines += line + "\n";
    }
    if (in.bad()) {
        *error = path + ": the client's INFO cannot be read";
        return false;
    }
    std::map<QString, QVariant> version;
    if (ReadGroup(path, "Version", &version) != QSettings::NoError || version.empty() ||
        lines.empty()) {
        *error = path + ": the client's INFO has no [Version] section";
        return false;
    }
    auto const build = version.find(QStringLiteral("build_version"));
    if (build == version.end() || !IsBuildNumber(build->second.toString())) {
        *error = path + ": the client's build_version is not a decimal number from 1 to " +
                 std::to_string(INT_MAX) + " ('" +
                 (build == version.end() ? std::string() : build->second.toString().toStdString()) +
                 "')";
        return false;
    }
    *version_lines = lines;
    return true;
}

std::string InfoText(std::string const& version_lines, PackageDescription const& d) {
    return "[Version]\n" + version_lines + "\n" + packagedesc::SectionText(d);
}

bool CheckInfo(std::string const& written, std::string const& client_info,
               PackageDescription const& d, std::string* error) {
    std::map<QString, QVariant> theirs, ours, package;
    ReadGroup(client_info, "Version", &theirs);
    if (ReadGroup(written, "Version", &ours) != QSettings::NoError || ours != theirs) {
        *error = client_info + ": its [Version] section does not read the same once copied";
        return false;
    }
    ReadGroup(written, "Package", &package);
    auto const text = [&package](char const* key) {
        return package[QString::fromLatin1(key)].toString().toStdString();
    };
    PackageDescription read;
    std::string why;
    if (!packagedesc::Accept(text("entries"), text("bytes"), text("size"), text("sha256"), d.size,
                             &read, &why) ||
        read.entries != d.entries || read.bytes != d.bytes || read.sha256 != d.sha256) {
        *error = written + ": the [Package] section does not read back: " + why;
        return false;
    }
    return true;
}

}  // namespace pack
