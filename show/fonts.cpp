#include "show/quombrax.h"

// The fonts, the wobbling title and the frame-rate text are not built yet:
// until they are, nothing is written on the screen.

void QUOMBRAX_build_fonts() {}

void QUOMBRAX_destroy_fonts() {}

void QUOMBRAX_draw_title() {}

void QUOMBRAX_draw_frame_rate() {}
