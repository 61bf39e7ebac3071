// A text printer: prints a list of lines as one job inside fixed margins,
// wrapping by characters and breaking pages, with a title on every page after
// the first. Positions are device pixels.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class PrintDevice;

class T_TextPrintClass {
public:
    int32_t X = 0;
    int32_t Y = 0;
    int32_t PrintWidth = 0;
    int32_t PrintHeight = 0;
    PrintDevice* Printer = nullptr;  // not owned
    std::vector<std::u16string> Lines;
    std::u16string Title;
    int32_t MarginTop = 200;
    int32_t MarginBottom = 200;
    int32_t MarginLeft = 200;
    int32_t MarginRight = 200;

    void SetPrinter(PrintDevice* printer) { Printer = printer; }
    // Prints Lines as one job in portrait, in "ＭＳ ゴシック".
    void PrintDocument();
    // Prints the list from the current position inside a running job.
    void PrintLines(const std::vector<std::u16string>& list);
    // How many leading characters of `text` fit into the printable width.
    int32_t FitCount(const std::u16string& text);
    // Moves down one line of height h; true when a new page was started.
    bool NextLine(int32_t h);
};
