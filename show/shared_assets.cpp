#include "show/quombrax.h"

// The screen map, the palette and the screen-sized pictures are not built
// yet: the scenes that will use them draw nothing so far.

void QUOMBRAX_build_screen_map_and_palette() {}

void QUOMBRAX_build_pictures() {}

void QUOMBRAX_destroy_shared_assets() {}
