#pragma once
// The program's files that are there but could not be read in this run: a
// disk that answered a read with an I/O error, a FIFO or device in place of
// a file, a file the user may not read. Such a file is no missing file: it
// is never reset and never replaced, because what it holds is unknown and
// may be good. Every reader notes them here (CStdioFileEx does), the writer
// refuses to replace them, and the window and tevlanctl tell the user which
// files they are. Safe to use from any thread.
#include <string>
#include <utility>
#include <vector>

// path, and the words that say why (naming the file)
using UnreadableFile = std::pair<std::string, std::string>;

void NoteUnreadableFile(const std::string& path, const std::string& why);
bool IsUnreadableFile(const std::string& path);
std::vector<UnreadableFile> UnreadableFiles();
// Forgets them all (a new data folder, a test).
void ForgetUnreadableFiles();

// The window's message about them (text 460 for each file, with the reason
// on the next line); empty when there are none.
std::u16string UnreadableFilesMessage();
