// Reading and writing the game's own files safely: the data files (pictures, music), the records
// (score.dat, replay.rep) and the headless runner's keys file.
//   - Reading takes regular files only (a link is followed to what it names) and never waits: a
//     FIFO or a device in place of a file is refused at once. Every read is bounded: the caller
//     names the most it will take, and reads go in large blocks.
//   - The records are replaced as one commit: each file is written whole beside the old one,
//     synced, and renamed over it, with a marker that lets the next start finish a commit that a
//     crash interrupted. The protocol is described in file_commit.cpp.
// No SDL here; plain POSIX calls, so the tests and the fuzz targets use it as the game does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// ---- reading -------------------------------------------------------------------------------------

enum FileStatus {
    FILE_OK = 0,
    FILE_MISSING,     // no such file
    FILE_FOLDER,      // a folder of that name
    FILE_SPECIAL,     // a FIFO, device or socket
    FILE_TOO_LARGE,   // more bytes than the reader takes
    FILE_READ_ERROR,  // it could not be opened or read (errno says why)
};

// An open file being read. Lives from PlatOpenForReading to PlatCloseFile.
struct PlatReadFile {
    int fd = -1;
    int64_t size = 0;  // its size when opened
};

// Opens a file for reading without ever blocking, and only when it is a regular file.
FileStatus PlatOpenForReading(const char* path, PlatReadFile* file);
// Reads up to n bytes, fewer only at the end of the file. The count read, or -1 on an error.
long PlatReadBytes(PlatReadFile* file, void* buffer, size_t n);
void PlatCloseFile(PlatReadFile* file);
// The whole file, when it holds at most maxBytes (FILE_TOO_LARGE, unread, when it holds more).
FileStatus PlatReadWholeFile(const char* path, size_t maxBytes, std::vector<uint8_t>* bytes);
// "is missing", "is a folder", "is not a regular file (a FIFO or a device)", "is larger than
// N bytes", "cannot be read: <the system's reason>", for a message that begins with the file's
// name. maxBytes: the limit the reader had, for FILE_TOO_LARGE.
std::string PlatFileStatusText(FileStatus status, size_t maxBytes = 0);

// ---- the records -----------------------------------------------------------------------------------

// One file of a commit: its plain name in the current folder and its new content, given as two
// pieces written one after the other (a header and a body, say).
struct PlatRecordFile {
    const char* name = nullptr;
    const void* head = nullptr;
    size_t headBytes = 0;
    const void* body = nullptr;
    size_t bodyBytes = 0;
};

// Every file a commit may write, in the order a commit renames them, and the marker of a commit
// under way. Recovery looks for exactly these.
inline constexpr const char* RECORD_FILE_NAMES[] = {"replay.rep", "score.dat"};
inline constexpr const char* RECORD_COMMIT_MARKER = "records.commit";
inline constexpr const char* RECORD_TEMPORARY_SUFFIX = ".new";

// Replaces the files (names from RECORD_FILE_NAMES, renamed in the order given) as one commit.
// True when every one holds its new content; false, with a one-line reason in *problem, when
// they were all left as they were (or, after a failure past the point of commit, when the next
// start will finish the commit). Never writes through a link: a link in place of a record is
// replaced by the file itself. A folder, FIFO or device in place of a record, or a record made
// read-only, stops the commit before anything is written.
[[nodiscard]] bool PlatCommitRecordFiles(const PlatRecordFile* files, int count, std::string* problem);
// Finishes a commit that a crash interrupted after its point of commit, or discards the
// temporaries of one interrupted before it; afterwards no temporary is left. True when there was
// nothing to do or it was done; false with the reason. Called before the records are read.
[[nodiscard]] bool PlatRecoverRecordFiles(std::string* problem);

// For the tests: called before every step of a commit or a recovery that touches the disk
// ("create replay.rep.new", "write replay.rep.new", "fsync replay.rep.new", "rename score.dat",
// ...). A hook that returns true makes that step fail as an I/O error would; a hook may also end
// the process there, as a crash would.
using PlatFileStepHook = bool (*)(const char* step);
void PlatSetFileStepHook(PlatFileStepHook hook);
