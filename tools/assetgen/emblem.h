#pragma once

#include "tools/assetgen/raster.h"

// The round badge with the chrome Q, 64 x 64: the colour-cycling scene's
// corner picture and, the same drawing, the menu icon.
Canvas corner_emblem();
