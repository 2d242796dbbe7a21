/* A package source that does not replay its bytes, as a share or a user-mode
 * file system may serve one: preloaded into Wine processes (LD_PRELOAD), it
 * flips the last byte of a file F each time a read delivers that byte, when a
 * marker lies beside F: "F.changes-after-first-pass" once F has been read to
 * its end (the first pass), "F.changes-from-first-read" on every read. The
 * markers, not the environment, say which file changes: a Wine process starts
 * its children with its own Unix environment, whatever environment block the
 * Windows program passes to CreateProcess. Built without the C library's
 * headers, so that the host's compiler makes a 32-bit object with no 32-bit
 * development files. */
typedef long ssize_t_;
typedef unsigned long size_t_;
typedef long long off64_t_;

extern void* dlsym(void* handle, const char* name);
extern ssize_t_ readlink(const char* path, char* buf, size_t_ size);
extern off64_t_ lseek64(int fd, off64_t_ offset, int whence);
extern int access(const char* path, int mode);

#define NEXT ((void*)-1l)

enum { kUnchanged, kAfterFirstPass, kFromFirstRead };

static int first_pass_done;

/* Whether the file `path` (`length` bytes, room for more) has the marker
 * `suffix` beside it. */
static int HasMarker(char* path, ssize_t_ length, const char* suffix) {
    ssize_t_ at = length;
    int found;
    for (size_t_ i = 0; suffix[i] != 0; ++i)
        path[at++] = suffix[i];
    path[at] = 0;
    found = access(path, 0) == 0;
    path[length] = 0;
    return found;
}

/* How the file open as `fd` changes. */
static int ChangeOf(int fd) {
    char link[32] = "/proc/self/fd/";
    char digits[12];
    char path[4096 + 64];
    int n = 0, at = 14;
    ssize_t_ length;
    if (fd < 0)
        return kUnchanged;
    do {
        digits[n++] = (char)('0' + fd % 10);
        fd /= 10;
    } while (fd > 0);
    while (n > 0)
        link[at++] = digits[--n];
    link[at] = 0;
    length = readlink(link, path, 4096);
    if (length <= 0 || length >= 4096 || path[0] != '/')
        return kUnchanged;
    if (HasMarker(path, length, ".changes-from-first-read"))
        return kFromFirstRead;
    if (HasMarker(path, length, ".changes-after-first-pass"))
        return kAfterFirstPass;
    return kUnchanged;
}

/* The bytes [offset, offset + got) of the file have just been read into buf. */
static void Deliver(int change, char* buf, ssize_t_ got, off64_t_ offset, off64_t_ end) {
    if (change == kUnchanged || got <= 0 || offset + got != end)
        return;
    if (first_pass_done || change == kFromFirstRead)
        buf[got - 1] ^= 0x01;
    first_pass_done = 1;
}

static off64_t_ EndOf(int fd) {
    const off64_t_ at = lseek64(fd, 0, 1);
    const off64_t_ end = lseek64(fd, 0, 2);
    lseek64(fd, at, 0);
    return end;
}

ssize_t_ read(int fd, void* buf, size_t_ n) {
    ssize_t_ (*real)(int, void*, size_t_) = (ssize_t_(*)(int, void*, size_t_))dlsym(NEXT, "read");
    const int change = ChangeOf(fd);
    if (change == kUnchanged)
        return real(fd, buf, n);
    const off64_t_ offset = lseek64(fd, 0, 1);
    const off64_t_ end = EndOf(fd);
    const ssize_t_ got = real(fd, buf, n);
    Deliver(change, (char*)buf, got, offset, end);
    return got;
}

/* What a positioned read of the bytes from `offset` delivers. */
static ssize_t_ Positioned(int fd, char* buf, ssize_t_ got, off64_t_ offset) {
    const int change = got > 0 ? ChangeOf(fd) : kUnchanged;
    if (change != kUnchanged)
        Deliver(change, buf, got, offset, EndOf(fd));
    return got;
}

ssize_t_ pread64(int fd, void* buf, size_t_ n, off64_t_ offset) {
    ssize_t_ (*real)(int, void*, size_t_, off64_t_) =
        (ssize_t_(*)(int, void*, size_t_, off64_t_))dlsym(NEXT, "pread64");
    return Positioned(fd, (char*)buf, real(fd, buf, n, offset), offset);
}

ssize_t_ pread(int fd, void* buf, size_t_ n, long offset) {
    ssize_t_ (*real)(int, void*, size_t_, long) =
        (ssize_t_(*)(int, void*, size_t_, long))dlsym(NEXT, "pread");
    return Positioned(fd, (char*)buf, real(fd, buf, n, offset), offset);
}
