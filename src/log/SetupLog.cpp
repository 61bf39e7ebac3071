#include "log/SetupLog.h"

#include "platform/AppError.h"
#include "platform/Codec.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

std::string EncodeSetupLog(const SetupLog& log, Codec& codec) {
    std::u16string all;
    for (const std::u16string& line : log.Lines()) {
        all += line;
        all += u"\r\n";
    }
    std::string bytes = codec.AnsiCodePage() == 65001 ? std::string("\xEF\xBB\xBF") : std::string();
    if (!all.empty()) bytes += codec.Utf16ToAnsi(all);
    return bytes;
}

void SaveSetupLog(const SetupLog& log, FileSystem& fs, Codec& codec) {
    const std::u16string name = u"Setuplog.txt";
    std::unique_ptr<OutFile> file;
    const SysResult created = fs.CreateExclusive(name, file);
    if (!created.ok || !file) {
        throw AppError(text::Format(u"ファイル \"%s\" を作成できません。%s", {fs.FullPath(name), TrimDescription(created.description)}));
    }
    const std::string bytes = EncodeSetupLog(log, codec);
    if (!bytes.empty() && !file->Write(bytes).ok) throw AppError(u"ストリームへの書き込みエラー");
}
