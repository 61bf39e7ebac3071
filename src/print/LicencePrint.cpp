#include "print/LicencePrint.h"

#include "log/SetupLog.h"
#include "platform/PrintDevice.h"
#include "print/Textprintclass.h"
#include "text/TextDecoding.h"
#include "text/TextFile.h"

void PrintLicence(T_TextPrintClass& printer, PrintSystem& print, FileSystem& fs, Codec& codec, SetupLog& log,
                  const std::u16string& licencePath) {
    print.RequireDefaultPrinter();
    if (!print.ShowPrintDialog()) return;
    printer.SetPrinter(&print.CurrentPrinter());
    printer.Lines = SplitLines(ReadTextFileOrThrow(fs, codec, licencePath));
    printer.PrintDocument();
    log.AddLog(u"OK : Print : " + print.CurrentPrinterName() + u" " + u"license.txt");
}
