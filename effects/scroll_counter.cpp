#include <cstdlib>

#include "effects/scroll.h"
#include "imaging/clip.h"

void SCROLL_COUNTER_error() {}

SCROLL_COUNTER* SCROLL_COUNTER_create(int32_t size) {
  if (size < 1) {
    SCROLL_COUNTER_error();
    return nullptr;
  }
  auto* counter = static_cast<SCROLL_COUNTER*>(std::calloc(1, sizeof(SCROLL_COUNTER)));
  if (counter == nullptr) {
    SCROLL_COUNTER_error();
    return nullptr;
  }
  counter->size = size;
  counter->step = 1;
  return counter;
}

void SCROLL_COUNTER_destroy(SCROLL_COUNTER** counter) {
  if (counter == nullptr || *counter == nullptr) {
    SCROLL_COUNTER_error();
    return;
  }
  std::free(*counter);
  *counter = nullptr;
}

void SCROLL_COUNTER_advance(SCROLL_COUNTER* counter) {
  // An empty ring has no index to fold into.
  if (counter == nullptr || counter->size < 1) {
    SCROLL_COUNTER_error();
    return;
  }
  counter->index = clip_wrap(static_cast<int64_t>(counter->index) + counter->step, counter->size);
}
