/* A package source that does not replay its bytes, as a share or a user-mode
 * file system may serve one: preloaded into a Wine process (LD_PRELOAD), it
 * flips the last byte of the file whose host path ends in QZ_SHIM_FILE each
 * time a read delivers it, once the file has been read to its end (the first
 * pass), or from the first read on when QZ_SHIM_FROM_FIRST is set. Built
 * without the C library's headers, so that the host's compiler makes a 32-bit
 * object with no 32-bit development files. */
typedef long ssize_t_;
typedef unsigned long size_t_;
typedef long long off64_t_;

extern void* dlsym(void* handle, const char* name);
extern ssize_t_ readlink(const char* path, char* buf, size_t_ size);
extern off64_t_ lseek64(int fd, off64_t_ offset, int whence);
extern char* getenv(const char* name);

#define NEXT ((void*)-1l)

static int first_pass_done;

static int Matches(int fd) {
    const char* suffix = getenv("QZ_SHIM_FILE");
    char link[32] = "/proc/self/fd/";
    char digits[12];
    char path[4096];
    int n = 0, at = 14;
    ssize_t_ length;
    size_t_ want = 0;
    if (suffix == 0 || fd < 0)
        return 0;
    do {
        digits[n++] = (char)('0' + fd % 10);
        fd /= 10;
    } while (fd > 0);
    while (n > 0)
        link[at++] = digits[--n];
    link[at] = 0;
    length = readlink(link, path, sizeof path);
    while (suffix[want] != 0)
        ++want;
    if (length < (ssize_t_)want)
        return 0;
    for (size_t_ i = 0; i < want; ++i)
        if (path[length - (ssize_t_)want + i] != suffix[i])
            return 0;
    return 1;
}

/* The bytes [offset, offset + got) of the file have just been read into buf. */
static void Deliver(int fd, char* buf, ssize_t_ got, off64_t_ offset, off64_t_ end) {
    if (got <= 0 || offset + got != end)
        return;
    if (first_pass_done || getenv("QZ_SHIM_FROM_FIRST") != 0)
        buf[got - 1] ^= 0x01;
    first_pass_done = 1;
    (void)fd;
}

static off64_t_ EndOf(int fd) {
    const off64_t_ at = lseek64(fd, 0, 1);
    const off64_t_ end = lseek64(fd, 0, 2);
    lseek64(fd, at, 0);
    return end;
}

ssize_t_ read(int fd, void* buf, size_t_ n) {
    ssize_t_ (*real)(int, void*, size_t_) = (ssize_t_(*)(int, void*, size_t_))dlsym(NEXT, "read");
    if (!Matches(fd))
        return real(fd, buf, n);
    const off64_t_ offset = lseek64(fd, 0, 1);
    const off64_t_ end = EndOf(fd);
    const ssize_t_ got = real(fd, buf, n);
    Deliver(fd, (char*)buf, got, offset, end);
    return got;
}

ssize_t_ pread64(int fd, void* buf, size_t_ n, off64_t_ offset) {
    ssize_t_ (*real)(int, void*, size_t_, off64_t_) =
        (ssize_t_(*)(int, void*, size_t_, off64_t_))dlsym(NEXT, "pread64");
    const ssize_t_ got = real(fd, buf, n, offset);
    if (Matches(fd))
        Deliver(fd, (char*)buf, got, offset, EndOf(fd));
    return got;
}

ssize_t_ pread(int fd, void* buf, size_t_ n, long offset) {
    ssize_t_ (*real)(int, void*, size_t_, long) =
        (ssize_t_(*)(int, void*, size_t_, long))dlsym(NEXT, "pread");
    const ssize_t_ got = real(fd, buf, n, offset);
    if (Matches(fd))
        Deliver(fd, (char*)buf, got, offset, EndOf(fd));
    return got;
}
