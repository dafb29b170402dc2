// The stills of docs/scenes are the show's golden frames: each is rendered
// again, as tools/render/stills.sh made it, and compared pixel for pixel. A
// changed picture fails here with the actual frame and a difference picture
// in the build tree's test-failures folder, named in the message.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/support/frame_compare.h"
#include "tests/tools/render_program.h"
#include "tools/png/png_file.h"
#include "tools/render/render_outputs.h"

namespace {

struct STILL {
  std::string name;
  std::string frame;
};

std::vector<STILL> listed_stills() {
  std::ifstream list(QUOMBRAX_SCENES_FOLDER "/stills.txt");
  std::vector<STILL> stills;
  std::string line;
  while (std::getline(list, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    STILL still;
    fields >> still.name >> still.frame;
    stills.push_back(still);
  }
  return stills;
}

bool under_sanitizers() {
#if defined(__SANITIZE_ADDRESS__)
  return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
  return true;
#endif
#endif
  return false;
}

TEST(Stills, EachSceneStillIsWhatTheShowDrawsAtItsFrame) {
  if (under_sanitizers()) {
    // Reaching the stills runs 14550 frames, minutes under the sanitizers;
    // the render's other tests run there, and this one in the plain build.
    GTEST_SKIP() << "the stills are compared in the build without sanitizers";
  }
  const std::vector<STILL> stills = listed_stills();
  ASSERT_EQ(stills.size(), 5u) << "one still a scene in " QUOMBRAX_SCENES_FOLDER "/stills.txt";
  for (const STILL& still : stills) {
    SCOPED_TRACE(still.name + " at frame " + still.frame);
    ScratchFolder folder;
    const RENDER_RESULT result = run_render({"--quiet", "--scale", "2", "--frames", still.frame,
                                             "--from", still.frame, "--png", folder.path()});
    ASSERT_EQ(result.status, 0) << result.errors;
    PNG_PICTURE frame;
    ASSERT_TRUE(png_read_file(folder.file(render_png_name(std::stoll(still.frame))), &frame));
    EXPECT_FRAME_MATCHES_FILE(FrameView(frame.pixels, frame.width),
                              QUOMBRAX_SCENES_FOLDER "/" + still.name);
  }
}

}  // namespace
