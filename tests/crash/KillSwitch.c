// Definitions of the file-changing calls in the test executable take the place of the C
// library's for the whole process (the executable exports them), so that the program's
// own code and Qt's are counted alike. Each passes the call to the kernel itself.
#define _GNU_SOURCE
#include "KillSwitch.h"

#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <unistd.h>

static long armedAt = -1; // -1: not armed
static long calls = 0;
static int traceFd = -1;

void KillSwitchArm(long killAt) {
    armedAt = killAt;
    calls = 0;
}

void KillSwitchTrace(int fd) {
    traceFd = fd;
}

long KillSwitchCount(void) {
    return calls;
}

static void FdPath(int fd, char* out, size_t size) {
    char link[64];
    if (fd == AT_FDCWD)
        snprintf(link, sizeof link, "/proc/self/cwd");
    else
        snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t length = readlink(link, out, size - 1);
    out[length > 0 ? length : 0] = '\0';
}

static void AtPath(int dir, const char* name, char* out, size_t size) {
    if (name[0] == '/') {
        snprintf(out, size, "%s", name);
        return;
    }
    char folder[4096];
    FdPath(dir, folder, sizeof folder);
    snprintf(out, size, "%s/%s", folder, name);
}

static void Trace(const char* call, const char* first, const char* second) {
    if (traceFd < 0)
        return;
    char line[16500];
    const int length =
        snprintf(line, sizeof line, "%s\t%s\t%s\n", call, first, second ? second : "");
    if (length > 0)
        syscall(SYS_write, traceFd, line,
                (size_t)length < sizeof line ? (size_t)length : sizeof line - 1);
}

static void TraceFd(const char* call, int fd) {
    if (traceFd < 0)
        return;
    char path[4096];
    FdPath(fd, path, sizeof path);
    Trace(call, path, NULL);
}

static void TraceAt(const char* call, int dir1, const char* name1, int dir2, const char* name2) {
    if (traceFd < 0)
        return;
    char first[8192];
    char second[8192];
    AtPath(dir1, name1, first, sizeof first);
    if (name2)
        AtPath(dir2, name2, second, sizeof second);
    Trace(call, first, name2 ? second : NULL);
}

// Counts a call and kills the process when it is the one armed for.
static int Reached(void) {
    if (armedAt < 0)
        return 0;
    ++calls;
    return armedAt > 0 && calls >= armedAt;
}

static void Die(void) {
    syscall(SYS_kill, getpid(), SIGKILL);
}

ssize_t write(int fd, const void* data, size_t size) {
    if (Reached()) {
        if (size > 1)
            syscall(SYS_write, fd, data, size / 2);
        Die();
    }
    TraceFd("write", fd);
    return syscall(SYS_write, fd, data, size);
}

int fsync(int fd) {
    if (Reached())
        Die();
    TraceFd("fsync", fd);
    return (int)syscall(SYS_fsync, fd);
}

int fdatasync(int fd) {
    if (Reached())
        Die();
    TraceFd("fsync", fd);
    return (int)syscall(SYS_fdatasync, fd);
}

int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned int flags) {
    if (Reached())
        Die();
    TraceAt("rename", fromDir, from, toDir, to);
    return (int)syscall(SYS_renameat2, fromDir, from, toDir, to, flags);
}

int renameat(int fromDir, const char* from, int toDir, const char* to) {
    return renameat2(fromDir, from, toDir, to, 0);
}

int rename(const char* from, const char* to) {
    return renameat2(AT_FDCWD, from, AT_FDCWD, to, 0);
}

int linkat(int fromDir, const char* from, int toDir, const char* to, int flags) {
    if (Reached())
        Die();
    TraceAt("link", fromDir, from, toDir, to);
    return (int)syscall(SYS_linkat, fromDir, from, toDir, to, flags);
}

int link(const char* from, const char* to) {
    return linkat(AT_FDCWD, from, AT_FDCWD, to, 0);
}

int unlinkat(int dir, const char* name, int flags) {
    if (Reached())
        Die();
    TraceAt((flags & AT_REMOVEDIR) ? "rmdir" : "unlink", dir, name, 0, NULL);
    return (int)syscall(SYS_unlinkat, dir, name, flags);
}

int unlink(const char* name) {
    return unlinkat(AT_FDCWD, name, 0);
}

int rmdir(const char* name) {
    return unlinkat(AT_FDCWD, name, AT_REMOVEDIR);
}

int mkdirat(int dir, const char* name, mode_t mode) {
    if (Reached())
        Die();
    TraceAt("mkdir", dir, name, 0, NULL);
    return (int)syscall(SYS_mkdirat, dir, name, mode);
}

int mkdir(const char* name, mode_t mode) {
    return mkdirat(AT_FDCWD, name, mode);
}

int ftruncate(int fd, off_t length) {
    if (Reached())
        Die();
    TraceFd("truncate", fd);
    return (int)syscall(SYS_ftruncate, fd, length);
}

int futimens(int fd, const struct timespec times[2]) {
    if (Reached())
        Die();
    TraceFd("times", fd);
    return (int)syscall(SYS_utimensat, fd, NULL, times, 0);
}

int fchmod(int fd, mode_t mode) {
    if (Reached())
        Die();
    TraceFd("chmod", fd);
    return (int)syscall(SYS_fchmod, fd, mode);
}
