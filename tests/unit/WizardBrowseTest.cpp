// The browse button of the install-folder page.
#include "WizardFixture.h"

namespace {
using namespace wiztest;

class Browse : public Wizard {
protected:
    void SetUp() override {
        Start();
        GoTo(2);
    }
    void PressBrowse() { Click(ids::Button_03_01); }
};

TEST_F(Browse, MissingStartFolderIsEmptiedBeforeTheBrowserOpens) {
    // A first installation: the default folder does not exist yet.
    PressBrowse();
    ASSERT_EQ(fp.dialogs.browseStarts.size(), 1u);
    EXPECT_EQ(fp.dialogs.browseStarts[0], u"");
    EXPECT_EQ(state.settings.InstallDir, u"");
    // Cancel keeps the box, and the ready page still takes the box's folder.
    EXPECT_EQ(form->Edit_03_Folder.Text(), u"C:\\Drosvik\\VORN6");
    // A second browse also starts with nothing preselected.
    PressBrowse();
    EXPECT_EQ(fp.dialogs.browseStarts[1], u"");
    GoTo(5);
    EXPECT_EQ(state.settings.InstallDir, u"C:\\Drosvik\\VORN6");
}

TEST_F(Browse, ExistingFolderIsTheStartEvenWhenOtherTextWasTyped) {
    fp.fs.AddFolder(u"C:\\Drosvik\\VORN6");
    form->Edit_03_Folder.SetText(u"D:\\Typed");
    fp.dialogs.browseAnswers.push_back({false, u""});
    PressBrowse();
    EXPECT_EQ(fp.dialogs.browseStarts[0], u"C:\\Drosvik\\VORN6");
    EXPECT_EQ(state.settings.InstallDir, u"C:\\Drosvik\\VORN6");
    EXPECT_EQ(form->Edit_03_Folder.Text(), u"D:\\Typed");
}

TEST_F(Browse, OkPutsTheChosenFolderIntoTheBoxAsIs) {
    for (const std::u16string chosen : {u"E:\\", u"C:\\Program Files\\Tools"}) {
        fp.dialogs.browseAnswers.push_back({true, chosen});
        PressBrowse();
        EXPECT_EQ(state.settings.InstallDir, chosen);
        EXPECT_EQ(form->Edit_03_Folder.Text(), chosen);
    }
}

}  // namespace
