// Reading and writing the records. Before a record is read, a save that a crash interrupted is
// finished or discarded (platform/file_commit.cpp), so the score and the replay read always come
// from the same game; a FIFO or a device in place of a record is refused without waiting on it.
// A save that fails keeps the old records and says so in one line; play goes on either way.
#include "input/record_files.h"

#include <cstdio>
#include <string>

#include "platform/file_io.h"

bool ReadRecordFile(const char* name, size_t maxBytes, std::vector<uint8_t>* bytes) {
    bytes->clear();
    std::string problem;
    if (!PlatRecoverRecordFiles(&problem)) {
        std::fprintf(stderr, "vorne: an interrupted save could not be finished: %s\n", problem.c_str());
    }
    PlatReadFile file;
    FileStatus status = PlatOpenForReading(name, &file);
    if (status == FILE_OK) {
        const size_t want = static_cast<uint64_t>(file.size) < maxBytes ? static_cast<size_t>(file.size) : maxBytes;
        bytes->resize(want);
        const long got = PlatReadBytes(&file, bytes->data(), want);
        PlatCloseFile(&file);
        bytes->resize(got < 0 ? 0 : static_cast<size_t>(got));
        if (got >= 0) return true;
        status = FILE_READ_ERROR;
    }
    if (status != FILE_MISSING) std::fprintf(stderr, "vorne: %s %s; it is not read\n", name, PlatFileStatusText(status).c_str());
    return false;
}

bool CommitRecords(const PlatRecordFile* files, int count, const char* what) {
    std::string problem;
    if (PlatCommitRecordFiles(files, count, &problem)) return true;
    std::fprintf(stderr, "vorne: could not save %s: %s\n", what, problem.c_str());
    return false;
}
