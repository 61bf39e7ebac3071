// Reads an Information.txt-sized text of the given size through the installer's
// reader and prints how long decoding, parsing and applying took.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/native/NativeCodec.h"
#include "settings/InformationFile.h"
#include "text/TextDecoding.h"

int main(int argc, char** argv) {
    const size_t size = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 10u << 20;
    const int sections = argc > 2 ? std::atoi(argv[2]) : 100000;
    std::string bytes = "[Caption]\r\nAppCaption=Bench\r\n";
    for (int i = 0; bytes.size() < size; ++i) {
        if (i % (size / 40 / (sections ? sections : 1) + 1) == 0) bytes += "[Section" + std::to_string(i) + "]\r\n";
        bytes += "Key" + std::to_string(i) + "=value with some text in it " + std::to_string(i) + "\r\n";
    }
    NativeCodec codec;
    InstallerSettings settings;
    settings.SetDefaults();
    const auto start = std::chrono::steady_clock::now();
    const IniDocument doc = ParseInformationText(DecodeText(bytes, codec));
    ApplyInformation(settings, doc, codec);
    const auto ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("information file: %zu bytes, %zu sections, read in %.1f ms (AppCaption=%s)\n", bytes.size(),
                doc.sections.size(), ms, settings.AppCaption == u"Bench" ? "Bench" : "?");
    return 0;
}
