#pragma once

// Shared between the halves of SDLDPY; not for use outside platform/.

// 1 while a display exists: the key state can only be had then.
int32_t SDLDPY_display_exists();
