// Private to src/input: reading a record file (score.dat, replay.rep) as the records' readers
// need it, after the records have been put in order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/file_io.h"

// Finishes or discards a save that a crash interrupted, then reads at most maxBytes from the
// start of the file into *bytes; what lies beyond is ignored, as the readers of these files
// always did. False when there is no file to read: missing, or not a regular file, or unreadable
// (these two are said on stderr; a missing record is ordinary). Called by the records' readers.
bool ReadRecordFile(const char* name, size_t maxBytes, std::vector<uint8_t>* bytes);
// Writes the files as one commit (platform/file_io.h); false, after one line on stderr saying
// what was not saved, why, and what the files hold now. what: "the new high score and its
// replay", say. Called by the records' writers.
bool CommitRecords(const PlatRecordFile* files, int count, const char* what);
