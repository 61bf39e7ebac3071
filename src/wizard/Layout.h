// The window description of the wizard: every control with its kind, page,
// position and size at 96 dpi, caption and flags.
#pragma once
#include <vector>

#include "platform/Ui.h"

namespace layout {
constexpr int ClientWidth = 502;
constexpr int ClientHeight = 391;
constexpr int PageHeight = 347;
constexpr int ButtonBarHeight = 44;
constexpr int HeaderHeight = 65;
constexpr unsigned TimerInterval = 1000;

// Rows in creation order: parents before their children.
const std::vector<ControlSpec>& WindowDescription();
// The row of a control ID; throws std::out_of_range for an unknown ID.
const ControlSpec& SpecOf(int id);
}  // namespace layout
