// What the installation engine's operations work with: the settings, the setup
// log and the system services.
#pragma once

struct InstallerSettings;
class SetupLog;
struct Platform;

struct InstallContext {
    InstallerSettings& settings;
    SetupLog& log;
    Platform& platform;
};
