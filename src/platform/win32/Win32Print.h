// The printer of the process: the system print dialog that chooses it and the
// GDI device context the text printer draws on.
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "platform/PrintDevice.h"

class Win32PrintDevice;

class Win32PrintSystem : public PrintSystem {
public:
    // `owner` gives the main window's handle (null before it exists); the
    // print dialog is modal to it. `dispatch` delivers the pending messages
    // while the spooler takes a page (the window layer's DispatchPending).
    Win32PrintSystem(std::function<void*()> owner, std::function<void()> dispatch);
    ~Win32PrintSystem() override;
    Win32PrintSystem(const Win32PrintSystem&) = delete;
    Win32PrintSystem& operator=(const Win32PrintSystem&) = delete;

    void RequireDefaultPrinter() override;
    bool ShowPrintDialog() override;
    // Before any dialog this is the system's default printer.
    PrintDevice& CurrentPrinter() override;
    std::u16string CurrentPrinterName() override;

    // How often the spooler asked the abort check, for the tests.
    int AbortChecks() const;

private:
    // Makes the dialog's device and settings the current printer; false when
    // the dialog gave no device context.
    bool TakeDevice(void* dc);
    std::function<void*()> owner_;
    std::unique_ptr<Win32PrintDevice> device_;
    void* devMode_ = nullptr;   // HGLOBAL DEVMODEW kept between dialogs
    void* devNames_ = nullptr;  // HGLOBAL DEVNAMES kept between dialogs
    std::u16string deviceName_;
};
