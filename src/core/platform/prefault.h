// Memory that is about to be written whole, mapped in one step.
#pragma once

#include <cstddef>

namespace qz {

/// Asks the system to map the pages of [data, data + size) for writing now,
/// in one call, instead of one page fault per page as they are first written.
/// For a large block filled at once (the units database, read at every start
/// of qz-cli): the faults cost more than the filling. Does nothing where the
/// system can't (kernels before Linux 5.14, other systems).
void prefaultForWriting(void* data, std::size_t size);

}  // namespace qz
