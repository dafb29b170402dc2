// The browser's C library draws other pseudo-random numbers than the one the
// programs run on; the web build takes glibc's generator in their place, so
// the page shows the programs' pictures and plays their music.
#include <cstdlib>

#include "platform/libc_random.h"

namespace {

LIBC_RANDOM generator = [] {
  LIBC_RANDOM seeded{};
  LIBC_RANDOM_seed(&seeded, 1);  // as if seeded with 1, the C library's start
  return seeded;
}();

}  // namespace

extern "C" {

void srandom(unsigned int seed) { LIBC_RANDOM_seed(&generator, seed); }
long random() { return LIBC_RANDOM_next(&generator); }
void srand(unsigned int seed) { LIBC_RANDOM_seed(&generator, seed); }
int rand() { return LIBC_RANDOM_next(&generator); }
}
