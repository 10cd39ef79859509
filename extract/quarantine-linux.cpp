#include "extract/quarantine.h"

namespace quarantine {

// Linux has no quarantine mark, and the name is not a valid attribute name
// here, so no written path can carry it.
void RemoveFromPath(std::string const&) {}

}  // namespace quarantine
