#include "pack/mac-metadata.h"

namespace macmeta {

bool Attach(std::string const&, mode_t, struct archive_entry*, std::string*) { return true; }

}  // namespace macmeta
