#include "platform/prefault.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace qz {

void prefaultForWriting(void* data, std::size_t size) {
#ifdef MADV_POPULATE_WRITE
  static const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  if (page == 0 || size < page) return;
  // madvise() takes whole pages: only those lying inside the block.
  const auto start = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t first = (start + page - 1) / page * page;
  const std::uintptr_t end = (start + size) / page * page;
  if (end > first) (void)madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
#else
  (void)data;
  (void)size;
#endif
}

}  // namespace qz
