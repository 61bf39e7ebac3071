// Stable control IDs of the wizard window: the window description, the window
// layer, screen readers and the end-to-end driver all use these.
#pragma once

namespace ids {
// Pages TabSheet01 .. TabSheet09 (indices 0 to 8).
constexpr int TabSheet01 = 101, TabSheet02 = 102, TabSheet03 = 103, TabSheet04 = 104, TabSheet05 = 105,
              TabSheet06 = 106, TabSheet07 = 107, TabSheet08 = 108, TabSheet09 = 109;

// Header bands and body panels of the pages with indices 1 to 6, and the button bar.
constexpr int Panel2 = 202, Panel3 = 203, Panel4 = 204, Panel5 = 205, Panel1 = 201, Panel6 = 206, Panel7 = 207,
              Panel8 = 208, Panel9 = 209, Panel10 = 210, Panel11 = 211, Panel12 = 212, Panel_Down = 250;

// Pictures.
constexpr int Image1 = 301, Image9 = 309, Image_03_02 = 332, Image5 = 305;
constexpr int HeaderIcon_02 = 322, HeaderIcon_03 = 323, HeaderIcon_04 = 324, HeaderIcon_05 = 325,
              HeaderIcon_06 = 326, HeaderIcon_07 = 327;

// Header titles and fixed subtitles.
constexpr int HeaderTitle_02 = 402, HeaderTitle_03 = 403, HeaderTitle_04 = 404, HeaderTitle_05 = 405,
              HeaderTitle_06 = 406, HeaderTitle_07 = 407;
constexpr int HeaderSubtitle_02 = 412, HeaderSubtitle_04 = 414, HeaderSubtitle_05 = 415;

// Welcome page.
constexpr int Label_01_01 = 501, Memo01 = 502;
// Licence page.
constexpr int Label4 = 511, Memo02 = 512, RadioButton_02_Yes = 513, RadioButton_02_No = 514;
// Install-folder page.
constexpr int Label_03_01 = 521, Label_03_02 = 522, Label1 = 523, Edit_03_Folder = 524, Button_03_01 = 525;
// Start-menu page.
constexpr int Label9 = 531, Label11 = 532, Edit_04_StartMenu = 533;
// Tasks page.
constexpr int Label14 = 541, Label16 = 542, CheckBox_05_DesktopIcon = 543, CheckBox_05_QuickIcon = 544;
// Ready page.
constexpr int Label_06_01 = 551, Label18 = 552, Memo06 = 553;
// Installing page.
constexpr int Label_07_01 = 561, Label_07_02 = 562, ProgressBar_07 = 563;
// Finished page.
constexpr int Label_08_01 = 571, Label_08_02 = 572, Label19 = 573, CheckBox_08_01 = 574;

// Button bar, in tab order.
constexpr int Button_Prev = 1001, Button_Next = 1002, Button_Cansel = 1003, Button_Print = 1004,
              Button_Reset = 1005;

// Timers.
constexpr int Timer_01 = 1, Timer_02 = 2;
}  // namespace ids
