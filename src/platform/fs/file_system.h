#pragma once
// The few file operations the program needs, on UTF-8 paths with '/'.
// Writes are atomic: the bytes go to a temporary file in the target's folder,
// which is flushed to disk and renamed over the target. A failed write leaves
// the old file as it was, and a target that exists but is not writable is
// not replaced.
//
// A target that is a symbolic link (users keep their settings in a dotfiles
// repository and link them) is followed: the file the link finally names is
// replaced in its own folder, and the link stays a link. A write whose bytes
// equal the file on disk writes nothing, so an unchanged file keeps its
// modification time and nothing that watches it is woken.
//
// Where the kernel allows it the temporary file has no name while it is
// written (O_TMPFILE) and is given one only just before the rename, so a
// process killed mid-write leaves nothing behind. Otherwise, or when killed
// in that last instant, a file NAME.tmp-XXXXXX may stay beside the target;
// RemoveStaleTemporaryFiles clears them.
#include <optional>
#include <string>

namespace platform {

// How a read ended. A file that is there but could not be read is not a
// missing one: callers that would replace a missing file leave it alone.
enum class ReadStatus {
    Ok,
    Missing,         // no such file (or a folder on the way is missing)
    NotRegularFile,  // a folder, a FIFO, a device, a socket
    Failed,          // there, but opening or reading it failed (errno in error)
};
struct FileRead {
    ReadStatus status = ReadStatus::Failed;
    std::string bytes;
    int error = 0;
};
// Reads a regular file whole. The open never blocks (a FIFO would wait for
// a writer forever) and the type is checked before the first read.
FileRead ReadRegularFile(const std::string& path);
// Words for a read that did not end Ok, naming the file: "cannot read P:
// Input/output error", "P is not a regular file".
std::string DescribeFailedRead(const std::string& path, const FileRead& read);

// The whole file, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

bool WriteFileAtomic(const std::string& path, const std::string& bytes);

// True for a name WriteFileAtomic gives its temporary files: a non-empty
// name followed by ".tmp-" and six letters or digits.
bool IsTemporaryFileName(const std::string& name);
// Removes the regular files of a folder (not its subfolders) whose names are
// temporary-file names; returns how many went. Only a process that knows no
// write of its own kind is under way in the folder may call it (the program
// does at start-up, holding the single-instance lock).
int RemoveStaleTemporaryFiles(const std::string& folder);

bool FileExists(const std::string& path);
// Anything at all is there (following links); false for a dangling link.
bool PathExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// Creates one folder level; true when the folder exists afterwards.
bool MakeDirectory(const std::string& path);

}  // namespace platform
