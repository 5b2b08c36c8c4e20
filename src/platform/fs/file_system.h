#pragma once
// The few file operations the program needs, on UTF-8 paths with '/'.
// Writes are atomic: the bytes go to a temporary file in the same folder,
// which is flushed to disk and renamed over the target. A failed write leaves
// the old file as it was, and a target that exists but is not writable is
// not replaced.
#include <optional>
#include <string>

namespace platform {

// The whole file, or nothing when it cannot be opened for reading.
std::optional<std::string> ReadWholeFile(const std::string& path);

bool WriteFileAtomic(const std::string& path, const std::string& bytes);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// Creates one folder level; true when the folder exists afterwards.
bool MakeDirectory(const std::string& path);

}  // namespace platform
