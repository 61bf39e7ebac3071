// The process entry: hardening, the main window's construction, the message loop
// and the destroy step; OLE for the user-interface thread is initialised on first
// need (see Win32Ole.h). The command line is not examined and the exit code is
// always 0.
#include <windows.h>
#include <ole2.h>

#include <memory>

#include "app/ApplicationTitle.h"
#include "app/Hardening.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "platform/win32/Win32Codec.h"
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Links.h"
#include "platform/win32/Win32Ole.h"
#include "platform/win32/Win32Pictures.h"
#include "platform/win32/Win32Print.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32Ui.h"
#include "wizard/Kelvorainst.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    HardenProcess();
    {
        Win32FileSystem fs;
        Win32Codec codec;
        AppState state;
        state.ApplicationTitle = ApplicationTitleOf(fs.ExecutablePath(), codec);
        std::unique_ptr<Win32Ui> window;
        auto owner = [&window]() -> void* { return window ? window->MainWindowHandle() : nullptr; };
        Win32Dialogs dialogs(owner);
        try {
            window = std::make_unique<Win32Ui>(instance);
        } catch (...) {
            // No main window: the error box, and the program ends.
            dialogs.ErrorBox(ErrorBoxText(ErrorMessageOf(std::current_exception())), state.ApplicationTitle);
            ole::Uninitialize();
            return 0;
        }
        Win32Ui& ui = *window;
        Win32Shell shell(owner);
        Win32Links links;
        Win32Pictures pictures;
        Win32PrintSystem print(owner, [&ui] { ui.DispatchPending(); });
        Platform platform{fs, codec, dialogs, shell, links, pictures, print, ui};

        // A window that could not be built: the error box, and the program ends.
        std::unique_ptr<TfrmKelvoraInstall> form = BuildMainWindow(platform, state);
        if (form) {
            if (form->ShowFirstTime()) ui.RunMessageLoop();
            form->Destroy();
        }
    }
    ole::Uninitialize();
    return 0;
}
