#pragma once

#include <cstdint>

#include "containers/array.h"
#include "containers/module_id.h"
#include "containers/sample.h"

// The music generator: one loop of sound that every `period`-th step picks a
// random instrument and mixes it in at one of 16 evenly spaced positions, the
// new sound at a quarter of its level and the old loop at three quarters.
//
// Ownership. The generator owns its record, `loop` and the `instruments`
// list, but never the instrument sounds on the list: MUSIC_add_instrument
// borrows the handle, and MUSIC_destroy frees the list without destroying a
// single instrument on it. The show hands it the compiled-in instrument
// table, whose records are static data: freeing one would be a crash, so
// nothing frees them. Callers that add heap instruments keep them and destroy
// them themselves, once the generator is gone.
//
// Threads. `loop` is meant to be played by another thread while the generator
// keeps mixing into it. A mixing is computed off to the side in the module's
// scratch vector; the finished values then become `loop`'s in one short step
// that trades the two value arrays (the loop's old array becomes the
// scratch), and that trade is the only change to `loop`'s values. Whoever
// plays the loop installs a lock pair with MUSIC_set_loop_guard and the
// module holds it for exactly that trade, so a reader never hears half a
// mixing; a reader must therefore take `loop->values` afresh under the lock
// rather than keep the pointer. The mixing reads the loop unlocked: the
// player only ever reads it too. MUSIC_destroy frees the loop, so destroy a
// generator only once nothing plays its loop.
struct MUSIC {
  int32_t countdown;   // calls left until the next mixing; 0 mixes at once
  int32_t period;      // calls between mixings
  SAMPLE* loop;        // the music loop; owned
  ARRAY* instruments;  // borrowed SAMPLE handles, in the order added
};

extern const MODULE_ID MUSIC_id;

// Prints "MUSIC ERROR\n" while the report switch is on (it starts off).
void MUSIC_error();
void MUSIC_set_error_report(int32_t on);

MUSIC* MUSIC_create();
void MUSIC_add_instrument(MUSIC* music, SAMPLE* instrument);
void MUSIC_step(MUSIC* music);
void MUSIC_destroy(MUSIC** music);

// Entered and left around the trade of a finished mixing into `loop`, with the
// context given here. Both null (the start state) means no other thread reads
// the loop. One guard serves the whole module, like the scratch vector.
using MUSIC_LOCK = void (*)(void* context);
void MUSIC_set_loop_guard(MUSIC_LOCK lock, MUSIC_LOCK unlock, void* context);
