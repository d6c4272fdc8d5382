// A file layer under SQLite that gathers the writes of a transaction to
// the write-ahead log (the -wal file) and hands them to the system in one
// write when the transaction's commit frame arrives, instead of two small
// writes per page: a crawl commits every page, and each commit writes a
// few hundred pages of log.
//
// Nothing changes for a reader or after a crash. The commit frame reaches
// the log, whole and in order after its pages, before SQLite publishes
// the transaction in the shared index (and before any read, sync or size
// of the log); a process killed before that leaves no commit, as one
// killed in the middle of the unbuffered writes does. A failed write is
// reported by the commit.
#pragma once

namespace trawlix {

// The name of the file layer, registered on the first call (the
// system's own layer stays the default).
const char* wal_write_buffer_vfs();

}  // namespace trawlix
