// The installation engine on fakes: settings with the built-in defaults, a
// distribution folder "C:\Dist\" and the install folder "C:\Drosvik\VORN6".
#pragma once
#include <string>
#include <vector>

#include "fakes/FakePlatform.h"
#include "install/InstallContext.h"
#include "log/SetupLog.h"
#include "settings/InstallerSettings.h"

struct InstallFixture {
    FakePlatform fake;
    InstallerSettings settings;
    SetupLog log;
    InstallContext ctx{settings, log, fake.platform};

    InstallFixture() {
        settings.SetDefaults();
        settings.ExeDir = u"C:\\Dist\\";
        settings.InstallDir = u"C:\\Drosvik\\VORN6";
        fake.links.fs = &fake.fs;
    }
    const std::vector<std::u16string>& Lines() const { return log.Lines(); }
    // How often the fake file system was asked to do `what` ("CopyOneFile", ...).
    int CallsOf(const std::u16string& what) const {
        int n = 0;
        for (const auto& c : fake.fs.Calls) n += c.rfind(what + u" ", 0) == 0;
        return n;
    }
};

using Lines = std::vector<std::u16string>;
