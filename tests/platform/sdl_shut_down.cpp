// Linked into every test program that runs SDL itself.
#include <SDL.h>
#include <gtest/gtest.h>

// The SDL 1.2 layer over SDL 2 keeps a few hundred bytes from its first video
// mode that not even SDL_Quit gives back; that is theirs, not ours.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libSDL2-2.0.so\nleak:libSDL-1.2.so\n";
}

namespace {

// The platform never shuts SDL down (the process ends instead); the test
// does, so that what SDL keeps for itself is not taken for our leak.
class SdlShutDown : public testing::Environment {
 public:
  void TearDown() override { SDL_Quit(); }
};
const testing::Environment* const sdl_shut_down =
    testing::AddGlobalTestEnvironment(new SdlShutDown);

}  // namespace
