"""A folder passed through to another, whose one subfolder can stop answering as a network share
does when its server is out of reach: while FLAG exists, volume queries, listings and reads below
/HELD are held until FLAG is gone (at most a minute), for the programs of one Wine prefix only.

Lookups, attributes and opens are never held, nor is anything the prefix's wineserver asks: the
server opens files and queries volumes for every process, so holding it would freeze them all.
The mount's root is never held either, since Wine looks at every mount's root.

Usage: /usr/bin/python3 stall_fs.py SOURCE MOUNTPOINT HELD FLAG WINEPREFIX
"""

import errno
import os
import sys
import time

from fusepy import FUSE, FuseOSError, Operations, fuse_get_context

HOLD_LIMIT_S = 60


class StallFs(Operations):
    def __init__(self, source, held, flag, prefix):
        self.source = os.path.realpath(source)
        self.held = "/" + held.strip("/")
        self.flag = flag
        self.prefix_entry = ("WINEPREFIX=" + prefix).encode()

    def _real(self, path):
        return os.path.join(self.source, path.lstrip("/"))

    def _of_the_bed(self, pid):
        try:
            with open(f"/proc/{pid}/comm", "rb") as f:
                if f.read().startswith(b"wineserver"):  # wineserver64 on Debian
                    return False
            with open(f"/proc/{pid}/environ", "rb") as f:
                return self.prefix_entry in f.read().split(b"\0")
        except OSError:
            return False  # gone already, or not ours to read: never held

    def _hold(self, op, path):
        if path != self.held and not path.startswith(self.held + "/"):
            return
        pid = fuse_get_context()[2]
        if not os.path.exists(self.flag) or not self._of_the_bed(pid):
            return
        # Who was held, for a look at a bed whose programs waited when they should not have.
        try:
            with open(f"/proc/{pid}/comm") as f:
                caller = f.read().strip()
        except OSError:
            caller = "?"
        print(f"held {op} {path} for {pid} {caller}", file=sys.stderr, flush=True)
        end = time.monotonic() + HOLD_LIMIT_S
        while os.path.exists(self.flag) and time.monotonic() < end:
            time.sleep(0.05)

    def getattr(self, path, fh=None):
        st = os.lstat(self._real(path))
        return {k: getattr(st, k) for k in ("st_mode", "st_nlink", "st_uid", "st_gid", "st_size",
                                              "st_atime", "st_mtime", "st_ctime")}

    def access(self, path, mode):
        if not os.access(self._real(path), mode):
            raise FuseOSError(errno.EACCES)

    def readlink(self, path):
        return os.readlink(self._real(path))

    def opendir(self, path):
        return 0

    def readdir(self, path, fh):
        self._hold("readdir", path)
        return [".", ".."] + os.listdir(self._real(path))

    def statfs(self, path):
        self._hold("statfs", path)
        st = os.statvfs(self._real(path))
        return {k: getattr(st, k) for k in ("f_bavail", "f_bfree", "f_blocks", "f_bsize",
                                              "f_favail", "f_ffree", "f_files", "f_flag",
                                              "f_frsize", "f_namemax")}

    def open(self, path, flags):
        if flags & (os.O_WRONLY | os.O_RDWR):
            raise FuseOSError(errno.EROFS)
        return os.open(self._real(path), flags)

    def read(self, path, size, offset, fh):
        self._hold("read", path)
        return os.pread(fh, size, offset)

    def release(self, path, fh):
        os.close(fh)


if __name__ == "__main__":
    source, mountpoint, held, flag, prefix = sys.argv[1:6]
    FUSE(StallFs(source, held, flag, prefix), mountpoint, foreground=True, ro=True)
