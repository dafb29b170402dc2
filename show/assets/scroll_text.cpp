#include "show/assets/scroll_text.h"

// The text file's bytes and a terminating NUL.
const char scroll_text[] = {
#include "scroll_text.txt.inc"
    0,
};
