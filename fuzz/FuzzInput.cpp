#include "FuzzInput.h"

#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <sys/mman.h>
#include <unistd.h>

std::string InputAsFile(const uint8_t* data, size_t size) {
    // One memfd for the whole run: a file per input would make the disk the bottleneck.
    static const int fd = memfd_create("fuzz-input", MFD_CLOEXEC);
    if (fd < 0 || ::ftruncate(fd, 0) != 0)
        Broken("cannot make the in-memory input file");
    size_t written = 0;
    while (written < size) {
        const ssize_t n = ::pwrite(fd, data + written, size - written, off_t(written));
        if (n <= 0)
            Broken("cannot write the in-memory input file");
        written += size_t(n);
    }
    return "/proc/self/fd/" + std::to_string(fd);
}

std::string ScratchFolder() {
    static QTemporaryDir folder;
    if (!folder.isValid())
        Broken("cannot make a scratch folder");
    return folder.path().toStdString();
}

void Broken(const char* what) {
    std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
    std::abort();
}
