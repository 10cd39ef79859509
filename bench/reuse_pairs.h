#pragma once
// bench_install --reuse: upgrades from an old client to one that keeps 90%
// of its files, and to one that keeps none, with the reuse of the backup's
// unchanged files on and off, against bsdtar.

#include <cstdint>
#include <string>
#include <vector>

#include "install_kit.h"

namespace install_kit {

// Packs the three clients in every format, times `runs` rounds of each and
// prints them; false when a run failed. `work` is the bench's folder.
bool UpgradePairs(Bench& bench, std::string const& work, std::vector<std::string> const& formats,
                  uint64_t total, int runs, std::string const& ui);

}  // namespace install_kit
