#include "platform/libc_random.h"

namespace {

constexpr int32_t separation = 3;
constexpr int32_t warm_up_rounds = 10;
constexpr int32_t modulus = 2147483647;  // 2^31 - 1

// 16807 x value modulo 2^31 - 1 without leaving 32 bits (Schrage's method),
// on the signed value as glibc keeps it.
int32_t lehmer_step(int32_t value) {
  const int32_t high = value / 127773;
  const int32_t low = value % 127773;
  int32_t next = 16807 * low - 2836 * high;
  if (next < 0) next += modulus;
  return next;
}

}  // namespace

void LIBC_RANDOM_seed(LIBC_RANDOM* generator, uint32_t seed) {
  if (seed == 0) seed = 1;
  int32_t word = static_cast<int32_t>(seed);
  generator->state[0] = word;
  for (int32_t i = 1; i < LIBC_RANDOM_degree; ++i) {
    word = lehmer_step(word);
    generator->state[i] = word;
  }
  generator->front = separation;
  generator->rear = 0;
  for (int32_t i = 0; i < warm_up_rounds * LIBC_RANDOM_degree; ++i) LIBC_RANDOM_next(generator);
}

int32_t LIBC_RANDOM_next(LIBC_RANDOM* generator) {
  int32_t* state = generator->state;
  const uint32_t sum = static_cast<uint32_t>(state[generator->front]) +
                       static_cast<uint32_t>(state[generator->rear]);
  state[generator->front] = static_cast<int32_t>(sum);
  generator->front = (generator->front + 1) % LIBC_RANDOM_degree;
  generator->rear = (generator->rear + 1) % LIBC_RANDOM_degree;
  // The lowest bit is the least random one.
  return static_cast<int32_t>(sum >> 1);
}
