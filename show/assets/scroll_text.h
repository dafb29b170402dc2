#pragma once

// The long text of the star scene: 69 line-feed-ended lines, NUL-terminated.
extern const char scroll_text[];
