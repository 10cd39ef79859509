#!/usr/bin/python3
"""Case-insensitive, case-preserving passthrough file system for tests.

    /usr/bin/python3 cifs_fuse.py BACKING_DIR MOUNTPOINT

Mounts MOUNTPOINT in the foreground until it is unmounted. Every operation
is passed to BACKING_DIR; a name is looked up by its NFC + casefold key, so
FOO finds a file stored as foo, and new names keep the spelling they were
created with, as on a case-insensitive macOS or FAT volume. Errors of the
backing folder (ENOSPC included) pass through unchanged.

Needs Debian's python3-fusepy (module "fusepy"); run it with /usr/bin/python3,
the interpreter that has Debian's modules.
"""

import errno
import os
import sys
import unicodedata

try:
    import fusepy as fuse
except ImportError:  # upstream's module name
    import fuse

FuseOSError = fuse.FuseOSError


def fold(name):
    return unicodedata.normalize("NFC", unicodedata.normalize("NFC", name).casefold())


class CaseInsensitivePassthrough(fuse.Operations):
    use_ns = True

    def __init__(self, root):
        self.root = os.path.realpath(root)

    # ---- name resolution ----

    def _match(self, dirpath, name):
        """The stored spelling of `name` in the backing folder, or None."""
        if os.path.lexists(os.path.join(dirpath, name)):
            return name  # the backing folder is case-sensitive
        key = fold(name)
        try:
            entries = os.listdir(dirpath)
        except OSError:
            return None
        for entry in entries:
            if fold(entry) == key:
                return entry
        return None

    def _resolve(self, path):
        """Backing path of `path`; a missing last component keeps its given
        spelling, so new names are stored as created."""
        parts = [p for p in path.split("/") if p]
        real = self.root
        for i, part in enumerate(parts):
            found = self._match(real, part)
            if found is None:
                if i != len(parts) - 1:
                    raise FuseOSError(errno.ENOENT)
                found = part
            real = os.path.join(real, found)
        return real

    # ---- attributes ----

    @staticmethod
    def _attrs(st):
        return {
            "st_mode": st.st_mode, "st_ino": st.st_ino or 1, "st_nlink": st.st_nlink,
            "st_uid": st.st_uid, "st_gid": st.st_gid, "st_size": st.st_size,
            "st_atime": st.st_atime_ns, "st_mtime": st.st_mtime_ns, "st_ctime": st.st_ctime_ns,
            "st_blocks": st.st_blocks, "st_blksize": st.st_blksize, "st_rdev": st.st_rdev,
        }

    def getattr(self, path, fh=None):
        if fh is not None:
            return self._attrs(os.fstat(fh))
        return self._attrs(os.lstat(self._resolve(path)))

    def access(self, path, amode):
        if not os.access(self._resolve(path), amode, follow_symlinks=False):
            raise FuseOSError(errno.EACCES)

    def chmod(self, path, mode):
        os.chmod(self._resolve(path), mode)

    def chown(self, path, uid, gid):
        os.lchown(self._resolve(path), uid, gid)

    def utimens(self, path, times=None):
        os.utime(self._resolve(path), ns=times, follow_symlinks=False)

    def truncate(self, path, length, fh=None):
        if fh is not None:
            os.ftruncate(fh, length)
        else:
            os.truncate(self._resolve(path), length)

    def statfs(self, path):
        sv = os.statvfs(self._resolve(path))
        return {k: getattr(sv, k) for k in (
            "f_bavail", "f_bfree", "f_blocks", "f_bsize", "f_favail", "f_ffree",
            "f_files", "f_flag", "f_frsize", "f_namemax")}

    # ---- folders ----

    def readdir(self, path, fh):
        real = self._resolve(path)
        yield ".", {"st_ino": os.lstat(real).st_ino or 1, "st_mode": 0o040000}, 0
        yield "..", {"st_ino": 1, "st_mode": 0o040000}, 0
        for name in os.listdir(real):
            try:
                st = os.lstat(os.path.join(real, name))
            except OSError:
                continue
            # glibc drops entries whose d_ino is 0.
            yield name, {"st_ino": st.st_ino or 1, "st_mode": st.st_mode}, 0

    def mkdir(self, path, mode):
        real = self._resolve(path)
        os.mkdir(real, mode)

    def rmdir(self, path):
        os.rmdir(self._resolve(path))

    # ---- names ----

    def unlink(self, path):
        os.unlink(self._resolve(path))

    def symlink(self, target, source):
        # fusepy: create `target` as a link whose content is `source`
        os.symlink(source, self._resolve(target))

    def readlink(self, path):
        return os.readlink(self._resolve(path))

    def link(self, target, source):
        os.link(self._resolve(source), self._resolve(target))

    def rename(self, old, new):
        src = self._resolve(old)
        parent, _, newname = new.rstrip("/").rpartition("/")
        real_parent = self._resolve(parent or "/")
        existing = self._match(real_parent, newname)
        wanted = os.path.join(real_parent, newname)
        if existing is not None and os.path.join(real_parent, existing) != src:
            # Replace the other entry, then give the new spelling.
            target = os.path.join(real_parent, existing)
            os.rename(src, target)
            if target != wanted:
                os.rename(target, wanted)
            return
        os.rename(src, wanted)

    # ---- files ----

    def open(self, path, flags):
        return os.open(self._resolve(path), flags)

    def create(self, path, mode, fi=None):
        return os.open(self._resolve(path), os.O_RDWR | os.O_CREAT, mode)

    def read(self, path, size, offset, fh):
        return os.pread(fh, size, offset)

    def write(self, path, data, offset, fh):
        return os.pwrite(fh, data, offset)

    def flush(self, path, fh):
        return 0

    def fsync(self, path, datasync, fh):
        if datasync:
            os.fdatasync(fh)
        else:
            os.fsync(fh)
        return 0

    def release(self, path, fh):
        os.close(fh)
        return 0


def main():
    if len(sys.argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    backing, mountpoint = sys.argv[1], sys.argv[2]
    fuse.FUSE(CaseInsensitivePassthrough(backing), mountpoint, foreground=True, nothreads=True,
              use_ino=True, allow_other=True, default_permissions=True, fsname="cifs_fuse",
              entry_timeout=0, attr_timeout=0, negative_timeout=0)
    return 0


if __name__ == "__main__":
    sys.exit(main())
