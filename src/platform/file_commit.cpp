// Replacing the records so that a crash, a power cut or a full disk never loses the high score or
// splits it from its replay.
//
// The commit, in the folder the game runs in ("NAME.new" is the temporary of NAME):
//   1. Finish or discard what an earlier crash left (recovery, below).
//   2. Look at every destination without following links. A folder, FIFO, device or socket in its
//      place, or a file made read-only, stops the commit here: nothing has been written.
//   3. For each file: create NAME.new (O_EXCL | O_NOFOLLOW, so nothing planted there is followed),
//      write it whole, fsync it, close it. Any failure (a full disk, a file-size limit) removes
//      the temporaries made so far and stops the commit: the old files are untouched.
//   4. fsync the folder, then create the marker records.commit and fsync it and the folder again.
//      The marker on disk is the point of commit: it says every temporary is complete.
//   5. Rename each NAME.new over NAME, in order (the replay before the score), and fsync the
//      folder. rename replaces a link in place of NAME by the file itself; its target is never
//      written.
//   6. Remove the marker and fsync the folder.
//
// Recovery, at the next start before the records are read (and before every commit):
//   - marker present: the temporaries still there are complete; rename each over its file (roll
//     forward), fsync the folder, remove the marker.
//   - no marker: any temporary is a commit that never reached its point of commit; remove it.
// So a crash before step 4 leaves the old pair, and a crash from step 4 on leaves the new pair
// once the next start has run; a crash during recovery is recovered the same way again. The
// marker is written only after the temporaries' contents and names are on disk, and removed only
// after the renames are, so the order holds across a power cut as well as a killed process.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "platform/file_io.h"

namespace {

// The test hook; null in the game.
PlatFileStepHook g_stepHook = nullptr;

// Runs before every step that touches the disk; false when the hook makes the step fail.
bool StepAllowed(const char* step, const char* name) {
    if (!g_stepHook) return true;
    char text[128];
    std::snprintf(text, sizeof text, "%s %s", step, name);
    if (!g_stepHook(text)) return true;
    errno = EIO;
    return false;
}

std::string Reason(const char* what, const std::string& name) {
    return "cannot " + std::string(what) + " " + name + ": " + std::strerror(errno);
}

std::string TemporaryName(const char* name) { return std::string(name) + RECORD_TEMPORARY_SUFFIX; }

bool SyncFolder(int folder, std::string* problem) {
    if (!StepAllowed("fsync", "folder")) {
        *problem = Reason("sync", "the folder");
        return false;
    }
    // Some file systems cannot sync a folder and say so with EINVAL; nothing more can be done there.
    if (fsync(folder) == 0 || errno == EINVAL) return true;
    *problem = Reason("sync", "the folder");
    return false;
}

bool Exists(int folder, const std::string& name, struct stat* info) {
    return fstatat(folder, name.c_str(), info, AT_SYMLINK_NOFOLLOW) == 0;
}

// Removes a temporary; a missing one is no failure.
bool RemoveTemporary(int folder, const std::string& name, std::string* problem) {
    if (!StepAllowed("unlink", name.c_str())) {
        *problem = Reason("remove", name);
        return false;
    }
    if (unlinkat(folder, name.c_str(), 0) == 0 || errno == ENOENT) return true;
    *problem = Reason("remove", name);
    return false;
}

bool Recover(int folder, std::string* problem) {
    struct stat info {};
    bool changed = false;
    if (Exists(folder, RECORD_COMMIT_MARKER, &info)) {
        if (!S_ISREG(info.st_mode)) {
            *problem = std::string(RECORD_COMMIT_MARKER) + " is not a regular file; remove it";
            return false;
        }
        for (const char* name : RECORD_FILE_NAMES) {
            const std::string temporary = TemporaryName(name);
            if (!Exists(folder, temporary, &info)) continue;
            if (!StepAllowed("rename", name) || renameat(folder, temporary.c_str(), folder, name) != 0) {
                *problem = Reason("finish the interrupted save of", name);
                return false;
            }
        }
        if (!SyncFolder(folder, problem)) return false;
        if (!RemoveTemporary(folder, RECORD_COMMIT_MARKER, problem)) return false;
        changed = true;
    } else {
        for (const char* name : RECORD_FILE_NAMES) {
            const std::string temporary = TemporaryName(name);
            if (!Exists(folder, temporary, &info)) continue;
            if (!RemoveTemporary(folder, temporary, problem)) return false;
            changed = true;
        }
    }
    return !changed || SyncFolder(folder, problem);
}

// Step 2: whether the file may be replaced.
bool CheckDestination(int folder, const char* name, mode_t* mode, std::string* problem) {
    *mode = 0666;  // a new file: what the umask allows, as an ordinary fopen would make it
    struct stat info {};
    if (!Exists(folder, name, &info)) {
        if (errno == ENOENT) return true;
        *problem = Reason("look at", name);
        return false;
    }
    if (S_ISLNK(info.st_mode)) return true;  // the link itself is replaced
    if (S_ISDIR(info.st_mode)) {
        *problem = std::string(name) + " is a folder";
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        *problem = std::string(name) + " is not a regular file (a FIFO, device or socket)";
        return false;
    }
    // A record without any write permission was made read-only on purpose; a rename through the
    // folder would replace it all the same (for its owner and for root alike), so the player's
    // protection is kept here.
    if ((info.st_mode & 0222) == 0) {
        *problem = std::string(name) + " is read-only";
        return false;
    }
    *mode = info.st_mode & 0777;  // the new file keeps the old one's permissions
    return true;
}

bool WriteAll(int fd, const void* data, size_t n) {
    const auto* p = static_cast<const uint8_t*>(data);
    while (n > 0) {
        const ssize_t w = write(fd, p, n);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) {
            if (w == 0) errno = ENOSPC;
            return false;
        }
        p += w;
        n -= static_cast<size_t>(w);
    }
    return true;
}

// Step 3 for one file.
bool WriteTemporary(int folder, const PlatRecordFile& file, mode_t mode, std::string* problem) {
    const std::string temporary = TemporaryName(file.name);
    if (!StepAllowed("create", temporary.c_str())) {
        *problem = Reason("create", temporary);
        return false;
    }
    const int fd = openat(folder, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode & 0666);
    if (fd < 0) {
        *problem = Reason("create", temporary);
        return false;
    }
    bool ok = true;
    const char* failed = "write";
    // fchmod: a mode the umask would narrow (the old file's own) is given back.
    if (mode != 0666) ok = fchmod(fd, mode) == 0;
    if (ok && file.headBytes > 0) ok = StepAllowed("write", temporary.c_str()) && WriteAll(fd, file.head, file.headBytes);
    if (ok && file.bodyBytes > 0) ok = StepAllowed("write", temporary.c_str()) && WriteAll(fd, file.body, file.bodyBytes);
    if (ok) {
        failed = "sync";
        ok = StepAllowed("fsync", temporary.c_str()) && fsync(fd) == 0;
    }
    const int savedErrno = errno;
    if (close(fd) != 0 && ok) {
        failed = "close";
        ok = false;
    } else {
        errno = savedErrno;
    }
    if (!ok) *problem = Reason(failed, temporary);
    return ok;
}

bool WriteMarker(int folder, std::string* problem) {
    if (!StepAllowed("create", RECORD_COMMIT_MARKER)) {
        *problem = Reason("create", RECORD_COMMIT_MARKER);
        return false;
    }
    const int fd = openat(folder, RECORD_COMMIT_MARKER, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        *problem = Reason("create", RECORD_COMMIT_MARKER);
        return false;
    }
    const bool synced = StepAllowed("fsync", RECORD_COMMIT_MARKER) && fsync(fd) == 0;
    const int savedErrno = errno;
    const bool closed = close(fd) == 0;
    if (!synced) errno = savedErrno;
    if (synced && closed) return SyncFolder(folder, problem);
    *problem = Reason("sync", RECORD_COMMIT_MARKER);
    return false;
}

// Undoes the steps before the point of commit; the first problem stays the one reported.
void Abandon(int folder, const PlatRecordFile* files, int written, bool marker) {
    std::string ignored;
    if (marker) RemoveTemporary(folder, RECORD_COMMIT_MARKER, &ignored);
    for (int i = 0; i < written; ++i) RemoveTemporary(folder, TemporaryName(files[i].name), &ignored);
    SyncFolder(folder, &ignored);
}

bool IsRecordName(const char* name) {
    for (const char* known : RECORD_FILE_NAMES) {
        if (name && std::strcmp(name, known) == 0) return true;
    }
    return false;
}

class Folder {
  public:
    Folder() : fd_(open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}
    ~Folder() {
        if (fd_ >= 0) close(fd_);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    int fd() const { return fd_; }

  private:
    int fd_;
};

// Steps 1 to 4. False, with everything it did undone, when the commit cannot reach its point.
bool CommitUpToItsPoint(int folder, const PlatRecordFile* files, int count, std::string* problem) {
    if (!Recover(folder, problem)) return false;
    mode_t modes[std::size(RECORD_FILE_NAMES)] = {};
    for (int i = 0; i < count; ++i) {
        if (!CheckDestination(folder, files[i].name, &modes[i], problem)) return false;
    }
    for (int i = 0; i < count; ++i) {
        if (!WriteTemporary(folder, files[i], modes[i], problem)) {
            Abandon(folder, files, i + 1, false);
            return false;
        }
    }
    if (!SyncFolder(folder, problem) || !WriteMarker(folder, problem)) {
        Abandon(folder, files, count, true);
        return false;
    }
    return true;
}

}  // namespace

void PlatSetFileStepHook(PlatFileStepHook hook) { g_stepHook = hook; }

bool PlatRecoverRecordFiles(std::string* problem) {
    const Folder folder;
    if (folder.fd() < 0) {
        *problem = Reason("open", "the current folder");
        return false;
    }
    return Recover(folder.fd(), problem);
}

bool PlatCommitRecordFiles(const PlatRecordFile* files, int count, std::string* problem) {
    if (count < 1 || count > static_cast<int>(std::size(RECORD_FILE_NAMES))) {
        *problem = "no record files given";
        return false;
    }
    for (int i = 0; i < count; ++i) {
        if (!IsRecordName(files[i].name)) {
            *problem = std::string(files[i].name ? files[i].name : "(none)") + " is not a record file";
            return false;
        }
    }
    const Folder folder;
    if (folder.fd() < 0) {
        *problem = Reason("open", "the current folder");
        return false;
    }
    if (!CommitUpToItsPoint(folder.fd(), files, count, problem)) {
        *problem += "; the old files are kept";
        return false;
    }
    // Past the point of commit: what fails from here the next start's recovery finishes.
    for (int i = 0; i < count; ++i) {
        const std::string temporary = TemporaryName(files[i].name);
        if (!StepAllowed("rename", files[i].name) || renameat(folder.fd(), temporary.c_str(), folder.fd(), files[i].name) != 0) {
            *problem = Reason("replace", files[i].name) + "; the next start finishes the save";
            return false;
        }
    }
    if (SyncFolder(folder.fd(), problem) && RemoveTemporary(folder.fd(), RECORD_COMMIT_MARKER, problem) &&
        SyncFolder(folder.fd(), problem)) {
        return true;
    }
    *problem += "; the files are saved, and the next start tidies up";
    return false;
}
