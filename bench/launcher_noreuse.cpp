// Linked with app/main.cpp into korvane-launcher-noreuse: the launcher with
// the reuse of the backup's unchanged files turned off, for bench_install's
// "reuse off" upgrades. The product has no such setting.

#include "extract/extractor.h"

namespace {

// g_hooks is constant-initialised, so it is set before this runs, whatever
// the order of the dynamic initialisers.
struct NoReuse {
    NoReuse() {
        Extractor::Hooks hooks;
        hooks.reuse_backup = false;
        Extractor::SetHooks(hooks);
    }
} const g_no_reuse;

}  // namespace
