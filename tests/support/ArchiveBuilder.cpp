#include "tests/support/ArchiveBuilder.h"

#include <archive.h>
#include <archive_entry.h>
#include <zstd.h>

#include <memory>

namespace testsupport {

std::string ZstdFrame(std::string const& data, int window_log) {
    ZSTD_CCtx* c = ZSTD_createCCtx();
    ZSTD_CCtx_setParameter(c, ZSTD_c_checksumFlag, 1);
    ZSTD_CCtx_setParameter(c, ZSTD_c_windowLog, window_log);
    std::string out(ZSTD_compressBound(data.size()) + 1024, '\0');
    ZSTD_inBuffer in{data.data(), data.size(), 0};
    ZSTD_outBuffer o{&out[0], out.size(), 0};
    size_t r = ZSTD_compressStream2(c, &o, &in, ZSTD_e_continue);
    while (!ZSTD_isError(r)) {
        r = ZSTD_compressStream2(c, &o, &in, ZSTD_e_end);
        if (r == 0) break;
    }
    ZSTD_freeCCtx(c);
    out.resize(ZSTD_isError(r) ? 0 : o.pos);
    return out;
}

std::string WriteArchive(std::string const& path, std::vector<ArchiveEntry> const& entries,
                         ArchiveFormat format, ArchiveFilter filter) {
    std::unique_ptr<archive, int (*)(archive*)> a(archive_write_new(), archive_write_free);
    switch (format) {
        case ArchiveFormat::Pax: archive_write_set_format_pax(a.get()); break;
        case ArchiveFormat::Ustar: archive_write_set_format_ustar(a.get()); break;
        case ArchiveFormat::Gnutar: archive_write_set_format_gnutar(a.get()); break;
        case ArchiveFormat::Zip: archive_write_set_format_zip(a.get()); break;
    }
    switch (filter) {
        case ArchiveFilter::None: archive_write_add_filter_none(a.get()); break;
        case ArchiveFilter::Gzip: archive_write_add_filter_gzip(a.get()); break;
        case ArchiveFilter::Xz: archive_write_add_filter_xz(a.get()); break;
        case ArchiveFilter::Zstd: archive_write_add_filter_zstd(a.get()); break;
    }
    if (archive_write_open_filename(a.get(), path.c_str()) != ARCHIVE_OK)
        return archive_error_string(a.get()) ? archive_error_string(a.get()) : "open failed";
    for (auto const& e : entries) {
        std::unique_ptr<archive_entry, void (*)(archive_entry*)> en(archive_entry_new(),
                                                                    archive_entry_free);
        archive_entry_set_pathname(en.get(), e.path.c_str());
        archive_entry_set_mtime(en.get(), 1700000000, 0);
        switch (e.kind) {
            case ArchiveEntry::File:
                archive_entry_set_filetype(en.get(), AE_IFREG);
                archive_entry_set_size(en.get(), static_cast<la_int64_t>(e.data.size()));
                break;
            case ArchiveEntry::Dir:
                archive_entry_set_filetype(en.get(), AE_IFDIR);
                archive_entry_set_size(en.get(), 0);
                break;
            case ArchiveEntry::Symlink:
                archive_entry_set_filetype(en.get(), AE_IFLNK);
                archive_entry_set_symlink(en.get(), e.target.c_str());
                archive_entry_set_size(en.get(), 0);
                break;
            case ArchiveEntry::Hardlink:
                archive_entry_set_filetype(en.get(), AE_IFREG);
                archive_entry_set_hardlink(en.get(), e.target.c_str());
                archive_entry_set_size(en.get(), static_cast<la_int64_t>(e.data.size()));
                break;
        }
        archive_entry_set_perm(en.get(), static_cast<mode_t>(e.mode));
        if (archive_write_header(a.get(), en.get()) < ARCHIVE_WARN)
            return archive_error_string(a.get()) ? archive_error_string(a.get()) : "header failed";
        if (!e.data.empty() && archive_write_data(a.get(), e.data.data(), e.data.size()) < 0)
            return archive_error_string(a.get()) ? archive_error_string(a.get()) : "data failed";
    }
    if (archive_write_close(a.get()) != ARCHIVE_OK)
        return archive_error_string(a.get()) ? archive_error_string(a.get()) : "close failed";
    return "";
}

std::string InfoText(int build, int major, int minor, int overlay) {
    return "[Version]\nmajor_version=" + std::to_string(major) +
           "\nminor_version=" + std::to_string(minor) + "\nbuild_version=" + std::to_string(build) +
           "\nicon_overlay_version=" + std::to_string(overlay) + "\n";
}

std::vector<ArchiveEntry> ClientBundleEntries(int build, std::string const& ui) {
    return {
        ArchiveEntry::dir("Contents"),
        ArchiveEntry::dir("Contents/MacOS"),
        ArchiveEntry::file("Contents/MacOS/korvane-ui", ui, 0755),
        ArchiveEntry::dir("Contents/Resources"),
        ArchiveEntry::file("Contents/Resources/INFO", InfoText(build)),
        ArchiveEntry::file("Contents/Resources/readme.txt",
                           "build " + std::to_string(build) + "\n"),
        ArchiveEntry::dir("Contents/Frameworks/Core.framework/Versions/5"),
        ArchiveEntry::file("Contents/Frameworks/Core.framework/Versions/5/Core",
                           std::string(3000, 'c'), 0755),
        ArchiveEntry::symlink("Contents/Frameworks/Core.framework/Versions/Current", "5"),
        ArchiveEntry::symlink("Contents/Frameworks/Core.framework/Core", "Versions/Current/Core"),
    };
}

}  // namespace testsupport
