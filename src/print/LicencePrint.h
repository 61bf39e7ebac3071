// The licence print of the licence page.
#pragma once
#include <string>

class T_TextPrintClass;
class PrintSystem;
class FileSystem;
class Codec;
class SetupLog;

// Asks for a printer, prints `licencePath` with the text printer and logs
// "OK : Print : " + printer + " license.txt". Errors propagate as AppError.
void PrintLicence(T_TextPrintClass& printer, PrintSystem& print, FileSystem& fs, Codec& codec, SetupLog& log,
                  const std::u16string& licencePath);
