// Elevated starts on fakes: the arguments handed to the shell, the wait that
// keeps the window's messages flowing, and the further-setup lookup.
#include <gtest/gtest.h>

#include "InstallFixture.h"
#include "install/Launch.h"

namespace {

TEST(Launch, RunElevatedHandsOverItsArgumentsAndTheShellsValue) {
    for (intptr_t value : {intptr_t{42}, intptr_t{2}, intptr_t{5}}) {
        InstallFixture f;
        f.fake.shell.shellExecuteResult = value;
        EXPECT_EQ(RunElevated(f.ctx, u"C:\\App\\Kelvora_Auth.exe", u"", u"C:\\App"), value);
        ASSERT_EQ(f.fake.shell.started.size(), 1u);
        const StartedProgram& p = f.fake.shell.started[0];
        EXPECT_EQ(p.how, u"ShellExecute");
        EXPECT_EQ(p.file, u"C:\\App\\Kelvora_Auth.exe");
        EXPECT_EQ(p.parameters, u"");
        EXPECT_EQ(p.directory, u"C:\\App");
        EXPECT_EQ(f.fake.ui.dispatches, 0);
        EXPECT_TRUE(f.Lines().empty());
    }
}

TEST(Launch, RunElevatedAndWaitDispatchesUntilTheProgramEnds) {
    InstallFixture f;
    f.fake.shell.messagesDuringWait = 3;
    int dispatchedWhileRunning = 0;
    f.fake.shell.onWaitMessage = [&] { dispatchedWhileRunning = f.fake.ui.dispatches; };
    RunElevatedAndWait(f.ctx, u"C:\\Dist\\\\setup.exe", u"/q", u"C:\\Dist\\");
    EXPECT_EQ(f.fake.ui.dispatches, 3) << "one dispatch per wake-up by a message, none after the end";
    EXPECT_EQ(dispatchedWhileRunning, 2) << "each message is handed on before the next wait";
    ASSERT_EQ(f.fake.shell.started.size(), 1u);
    EXPECT_EQ(f.fake.shell.started[0].how, u"ShellExecuteEx");
    EXPECT_EQ(f.fake.shell.started[0].parameters, u"/q");
}

TEST(Launch, RunElevatedAndWaitReturnsAtOnceWithoutAProcess) {
    InstallFixture f;
    f.fake.shell.refuseElevation = true;
    f.fake.shell.messagesDuringWait = 3;
    RunElevatedAndWait(f.ctx, u"C:\\Dist\\\\setup.exe", u"", u"C:\\Dist\\");
    EXPECT_EQ(f.fake.ui.dispatches, 0);
    EXPECT_TRUE(f.Lines().empty());
}

TEST(Launch, RunSetupFromExeDir) {
    struct Row {
        const char* what;
        std::u16string name;
        bool refuse;
        bool result;
        Lines lines;
        bool started;
    };
    const std::vector<Row> rows = {
        {"present", u"setup.exe", false, false, {}, true},
        {"below ExeDir", u"sub\\setup2.exe", false, false, {}, true},
        {"refused elevation", u"setup.exe", true, false, {}, true},
        {"missing", u"nothing.exe", false, true, {u"NG : File Not Found : C:\\Dist\\\\nothing.exe"}, false},
        {"a folder of that name", u"folder.exe", false, true, {u"NG : File Not Found : C:\\Dist\\\\folder.exe"}, false},
    };
    for (const Row& row : rows) {
        InstallFixture f;
        f.fake.fs.AddFile(u"C:\\Dist\\setup.exe");
        f.fake.fs.AddFile(u"C:\\Dist\\sub\\setup2.exe");
        f.fake.fs.AddFolder(u"C:\\Dist\\folder.exe");
        f.fake.shell.refuseElevation = row.refuse;
        EXPECT_EQ(RunSetupFromExeDir(f.ctx, row.name), row.result) << row.what;
        EXPECT_EQ(f.Lines(), row.lines) << row.what;
        ASSERT_EQ(f.fake.shell.started.size(), row.started ? 1u : 0u) << row.what;
        if (row.started) {
            const StartedProgram& p = f.fake.shell.started[0];
            EXPECT_EQ(p.how, u"ShellExecuteEx");
            EXPECT_EQ(p.file, u"C:\\Dist\\\\" + row.name) << row.what;
            EXPECT_EQ(p.parameters, u"");
            EXPECT_EQ(p.directory, u"C:\\Dist\\");
        }
    }
}

}  // namespace
