// The setup log: one line per action, collected for the whole run and written
// once to "Setuplog.txt" in the working folder when the program ends.
#pragma once
#include <string>
#include <vector>

class Codec;
class FileSystem;

class SetupLog {
public:
    void AddLog(const std::u16string& line) { lines_.push_back(line); }
    const std::vector<std::u16string>& Lines() const { return lines_; }

private:
    std::vector<std::u16string> lines_;
};

// The bytes of the file: every line followed by CR LF, in the ANSI code page;
// EF BB BF first only when that code page is UTF-8 (65001).
std::string EncodeSetupLog(const SetupLog& log, Codec& codec);

// Writes "Setuplog.txt" in the current folder, replacing it. Throws AppError
// with "ファイル "%s" を作成できません。%s" when it cannot be created, and
// "ストリームへの書き込みエラー" when writing fails.
void SaveSetupLog(const SetupLog& log, FileSystem& fs, Codec& codec);
