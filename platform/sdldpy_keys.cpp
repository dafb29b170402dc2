#include <cstdlib>

#include "platform/backend.h"
#include "platform/sdldpy.h"
#include "platform/sdldpy_internal.h"

namespace {

constexpr size_t buffer_size = 8;
constexpr int32_t highest_key_symbol = 255;

SDLDPY_KEYS* the_keys = nullptr;
// A quit request stays until the process ends, so it cannot be lost the way
// a short key press can.
bool quit_requested = false;
const char empty_text[] = "";

// Key symbols above 255 (function keys, modifiers, the keypad) are ignored
// whole: cut to 8 bits they would alias ordinary keys (F2 would read as
// Escape, right Ctrl as "1").
bool is_byte_symbol(int32_t symbol) { return symbol >= 0 && symbol <= highest_key_symbol; }

// What one poll has seen so far: a press it delivered outlives the releases
// that follow it in the same poll, so a tap shorter than a frame (pressed
// and released before the poll) still reads as its key.
struct POLL {
  bool pressed = false;
};

void apply(uint8_t* buffer, POLL& poll, const BACKEND_EVENT& event) {
  switch (event.kind) {
    case BACKEND_EVENT_KEY_DOWN:
      if (is_byte_symbol(event.symbol)) {
        buffer[0] = static_cast<uint8_t>(event.symbol);
        poll.pressed = true;
      }
      break;
    case BACKEND_EVENT_KEY_UP:
      if (is_byte_symbol(event.symbol) && !poll.pressed) buffer[0] = 0;
      break;
    case BACKEND_EVENT_QUIT:
      quit_requested = true;
      break;
    default:
      break;
  }
}

}  // namespace

SDLDPY_KEYS* SDLDPY_keys_create() {
  if (!SDLDPY_display_exists()) return nullptr;
  if (the_keys != nullptr) return the_keys;
  auto* keys = static_cast<SDLDPY_KEYS*>(std::calloc(1, sizeof(SDLDPY_KEYS)));
  auto* buffer = static_cast<uint8_t*>(std::calloc(buffer_size, 1));
  if (keys == nullptr || buffer == nullptr) {
    std::free(keys);
    std::free(buffer);
    return nullptr;
  }
  keys->buffer = buffer;
  quit_requested = false;
  the_keys = keys;
  return the_keys;
}

void SDLDPY_keys_poll(SDLDPY_KEYS* keys) {
  if (keys == nullptr || keys->buffer == nullptr) return;
  BACKEND_EVENT event{};
  POLL poll;
  while (BACKEND_next_event(&event)) apply(keys->buffer, poll, event);
  if (quit_requested) keys->buffer[0] = SDLDPY_quit_key;
}

void SDLDPY_keys_destroy(SDLDPY_KEYS** keys) {
  if (keys == nullptr || *keys == nullptr) return;
  if (*keys == the_keys) the_keys = nullptr;
  std::free((*keys)->buffer);
  std::free(*keys);
  *keys = nullptr;
}

const char* SDLDPY_keys_to_text(const SDLDPY_KEYS* keys) {
  return keys != nullptr ? empty_text : nullptr;
}

SDLDPY_KEYS* SDLDPY_keys_from_text(const char*) { return nullptr; }

int32_t SDLDPY_keys_equal(const SDLDPY_KEYS* a, const SDLDPY_KEYS* b) {
  return a != nullptr && a == b ? 1 : 0;
}

SDLDPY_KEYS* SDLDPY_keys_clone(const SDLDPY_KEYS*) { return nullptr; }
