// The credits text the title menu's credits box scrolls through.
#pragma once

#include "runtime/runtime.h"

// Lines of the credits text.
constexpr int kCreditLines = 39;

// The 39 lines of the credits text, one element per line.
Array<String> bb_credits_Text();
