// The checker's report as text for a person (UTF-8) and as one JSON document.
#pragma once
#include <string>

#include "Checker.h"

namespace check {

std::string FormatText(const Report& report);
std::string FormatJson(const Report& report);

}  // namespace check
