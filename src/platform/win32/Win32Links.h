// Shortcut files through the shell's link object.
#pragma once
#include "platform/Links.h"

class Win32Links : public Links {
public:
    LinkOutcome WriteLink(const LinkRequest& request) override;
};
