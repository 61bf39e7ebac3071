// The path acceptance rules of the file operations.
#pragma once
#include <string>

class FileSystem;

enum class PathKind { Folder, File };

enum class PathVerdict {
    Accepted,
    Empty,            // empty or only blanks
    BadCharacter,     // codes 0 to 31, or " < > |
    MisplacedColon,   // a ":" anywhere but after a leading drive letter
    TooLong,          // 248 (folder) / 260 (file) characters or more without "\\?\"
    MissingDrive,     // a folder to create whose drive root does not exist (non-UNC)
};

// Judges `path` after the system's full-path completion. `forCreation` adds
// the drive-root rule for a folder that is to be created.
PathVerdict AcceptPath(FileSystem& fs, const std::u16string& path, PathKind kind, bool forCreation);
