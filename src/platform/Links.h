// Writing a shortcut file through the shell's link object.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

struct LinkRequest {
    std::u16string target;
    std::u16string workingFolder;
    std::optional<std::u16string> icon;  // icon index 0; no icon location when absent
    std::u16string file;                 // the .lnk file to save
};

struct LinkOutcome {
    enum class Stage { Saved, NoComInit, NoLinkObject, NoPersistFile };
    // How far the link object came; Save was called only at Stage::Saved.
    Stage stage = Stage::Saved;
    // The value IPersistFile::Save returned (an HRESULT); meaningful at Stage::Saved.
    int32_t saveResult = 0;
};

class Links {
public:
    virtual ~Links() = default;
    // CoInitialize, create the link object, set its three properties, Save(file,
    // FALSE), release what was obtained, CoUninitialize when CoInitialize succeeded.
    virtual LinkOutcome WriteLink(const LinkRequest& request) = 0;
};
