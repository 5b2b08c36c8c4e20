#pragma once
// The one text file class every file of the program goes through: UTF-16LE
// with a byte-order mark, lines ended by a single line feed.
//
// Paths are UTF-8 std::string with '/' throughout the program's file code;
// u16 paths from the settings are converted with U16ToUtf8 by the caller.
//
// A file opened for reading is read whole, through a read-only open, into
// memory; the lines are then taken from that copy. A file opened for writing
// collects what is written and replaces the target atomically on Close (or
// destruction): a failed write leaves the old file as it was, and a target
// that is not writable is not replaced.
//
// ReadString keeps the line rules the file readers depend on:
//   - at position 0 two bytes are skipped unchecked (the byte-order mark; a
//     file without one loses its first character);
//   - a line is everything up to and including the next U+000A, or to the
//     end of the file, of any length (read in 128-unit chunks);
//   - the trailing U+000A is removed only when the line has at least two
//     units, so a blank line comes back as the one-unit string "\n" and counts;
//   - a carriage return is never removed;
//   - the call is true when the line is non-empty; at the end it is false.
#include <cstddef>
#include <string>

class CStdioFileEx {
public:
    enum OpenMode {
        modeRead,   // the file must exist
        modeWrite,  // created or replaced on Close
    };

    CStdioFileEx() = default;
    ~CStdioFileEx();
    CStdioFileEx(const CStdioFileEx&) = delete;
    CStdioFileEx& operator=(const CStdioFileEx&) = delete;

    // False when a file to read cannot be read; one that is there but could
    // not be read (an I/O error, not a regular file) is noted as unreadable
    // (persist/unreadable_files.h) and is then never replaced by Close.
    // Opening for writing only remembers the path; whether the file can be
    // written is known at Close.
    bool Open(const std::string& path, OpenMode mode);
    // Reading from bytes already in memory (parsers and fuzz targets use it).
    void OpenBytes(std::string bytes);
    // Writes a file opened for writing; true when it reached the disk (or
    // when the file was opened for reading). Safe to call twice.
    bool Close();
    bool IsOpen() const { return open_; }
    // The last Open for reading failed on a file that is there: a read or
    // open error (not a missing file, not a folder or other non-file).
    bool ReadFailed() const { return readFailed_; }

    // Appends UTF-16LE units unchanged; the byte-order mark first when the
    // position is 0.
    void WriteString(const std::u16string& text);
    bool ReadString(std::u16string& line);

    // Byte position: the read position, or the bytes written so far.
    size_t GetPosition() const;
    // What was written (or what is being read), as bytes.
    const std::string& Bytes() const { return bytes_; }

    bool unicodeText = true;

private:
    std::string path_;
    std::string bytes_;
    size_t pos_ = 0;
    OpenMode mode_ = modeRead;
    bool open_ = false;
    bool fromMemory_ = false;
    bool readFailed_ = false;
};

// The whole file as UTF-16LE with a byte-order mark (for writers building a
// file in one piece).
std::string EncodeUtf16LeFile(const std::u16string& text);
