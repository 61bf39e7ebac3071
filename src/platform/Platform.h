// The system services the installer's behaviour uses, gathered for the form.
#pragma once

class FileSystem;
class Codec;
class Dialogs;
class Shell;
class Links;
class Pictures;
class PrintSystem;
class Ui;

struct Platform {
    FileSystem& fs;
    Codec& codec;
    Dialogs& dialogs;
    Shell& shell;
    Links& links;
    Pictures& pictures;
    PrintSystem& print;
    Ui& ui;
};
