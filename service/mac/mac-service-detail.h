#pragma once
// Text conversions of the macOS service, kept apart to be tested alone.

#include <string>

namespace macservice_detail {

// atoi's leading rules (white space, sign, digits; 0 without digits),
// saturating at the int range instead of overflowing.
int BuildNumber(std::string const& text);
// atol's leading rules; false when no digit leads or the value overflows.
bool PidNumber(std::string const& text, long long& value);
// The start time field (22nd) of a /proc/<pid>/stat line, in clock ticks.
bool ProcStatStartTicks(std::string const& stat, unsigned long long& ticks);

}  // namespace macservice_detail
