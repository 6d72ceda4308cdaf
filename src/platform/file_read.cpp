// Reading the game's files: regular files only, never blocking, never more than the reader asks.
// A FIFO or a device named like a data file would hold an ordinary open forever, so the file is
// opened with O_NONBLOCK and looked at with fstat before a byte is read; a regular file ignores
// the flag, so the reads that follow are the ordinary ones.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/file_io.h"

namespace {

// The reason of the last FILE_READ_ERROR, for its message (the game reads on one thread).
int g_lastReadErrno = 0;

FileStatus ReadFailed() {
    g_lastReadErrno = errno;
    return FILE_READ_ERROR;
}

}  // namespace

FileStatus PlatOpenForReading(const char* path, PlatReadFile* file) {
    *file = PlatReadFile{};
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? FILE_MISSING : ReadFailed();
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        const FileStatus status = ReadFailed();
        close(fd);
        return status;
    }
    if (!S_ISREG(info.st_mode)) {
        close(fd);
        return S_ISDIR(info.st_mode) ? FILE_FOLDER : FILE_SPECIAL;
    }
    file->fd = fd;
    file->size = info.st_size;
    return FILE_OK;
}

long PlatReadBytes(PlatReadFile* file, void* buffer, size_t n) {
    size_t got = 0;
    auto* out = static_cast<uint8_t*>(buffer);
    while (got < n) {
        const ssize_t r = read(file->fd, out + got, n - got);
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) {
            g_lastReadErrno = errno;
            return -1;
        }
        if (r == 0) break;
        got += static_cast<size_t>(r);
    }
    return static_cast<long>(got);
}

void PlatCloseFile(PlatReadFile* file) {
    if (file->fd >= 0) close(file->fd);
    *file = PlatReadFile{};
}

FileStatus PlatReadWholeFile(const char* path, size_t maxBytes, std::vector<uint8_t>* bytes) {
    bytes->clear();
    PlatReadFile file;
    const FileStatus status = PlatOpenForReading(path, &file);
    if (status != FILE_OK) return status;
    if (file.size < 0 || static_cast<uint64_t>(file.size) > maxBytes) {
        PlatCloseFile(&file);
        return FILE_TOO_LARGE;
    }
    // One byte more than the limit shows a file that grew past it since it was measured.
    bytes->resize(maxBytes < static_cast<size_t>(file.size) + 1 ? maxBytes + 1 : static_cast<size_t>(file.size) + 1);
    const long got = PlatReadBytes(&file, bytes->data(), bytes->size());
    PlatCloseFile(&file);
    if (got < 0) {
        bytes->clear();
        return FILE_READ_ERROR;
    }
    if (static_cast<size_t>(got) > maxBytes) {
        bytes->clear();
        return FILE_TOO_LARGE;
    }
    bytes->resize(static_cast<size_t>(got));
    return FILE_OK;
}

std::string PlatFileStatusText(FileStatus status, size_t maxBytes) {
    switch (status) {
        case FILE_OK: return "was read";
        case FILE_MISSING: return "is missing";
        case FILE_FOLDER: return "is a folder";
        case FILE_SPECIAL: return "is not a regular file (a FIFO, device or socket)";
        case FILE_TOO_LARGE: return "is larger than the " + std::to_string(maxBytes) + " bytes it may hold";
        case FILE_READ_ERROR: break;
    }
    return std::string("cannot be read: ") + std::strerror(g_lastReadErrno);
}
