// The programs on a real X server (Xvfb), driven with real key events.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const std::string window_program = QUOMBRAX_WINDOW_PROGRAM;
const std::string fullscreen_program = QUOMBRAX_FULLSCREEN_PROGRAM;
const std::string run_window = QUOMBRAX_RUN_WINDOW_SCRIPT;

bool have_tool(const char* name) {
  std::string command = std::string("command -v ") + name + " >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

bool have_x_tools() {
  for (const char* tool : {"xvfb-run", "Xvfb", "xdotool", "xwd", "xwininfo"}) {
    if (!have_tool(tool)) return false;
  }
  return true;
}

std::string read_text(const std::string& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<uint8_t> read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// A window dump: a header of big-endian 32-bit fields, a colour map, then
// rows of pixels in the byte order the header names.
struct XWD_IMAGE {
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t bits_per_pixel = 0;
  uint32_t bytes_per_line = 0;
  uint32_t colour_mask = 0;  // red | green | blue
  bool little_endian = false;
  std::vector<uint8_t> data;

  uint32_t pixel(uint32_t x, uint32_t y) const {
    const uint8_t* p = data.data() + y * bytes_per_line + x * (bits_per_pixel / 8);
    uint32_t value = 0;
    uint32_t bytes = bits_per_pixel / 8;
    for (uint32_t i = 0; i < bytes; ++i) {
      uint32_t byte = little_endian ? p[bytes - 1 - i] : p[i];
      value = value << 8 | byte;
    }
    return value & colour_mask;
  }
};

bool parse_xwd(const std::vector<uint8_t>& file, XWD_IMAGE* image) {
  auto field = [&file](size_t index) {
    size_t at = index * 4;
    return uint32_t(file[at]) << 24 | uint32_t(file[at + 1]) << 16 | uint32_t(file[at + 2]) << 8 |
           uint32_t(file[at + 3]);
  };
  if (file.size() < 100) return false;
  uint32_t header_size = field(0);
  image->width = field(4);
  image->height = field(5);
  image->little_endian = field(7) == 0;
  image->bits_per_pixel = field(11);
  image->bytes_per_line = field(12);
  image->colour_mask = field(14) | field(15) | field(16);
  uint32_t colours = field(19);
  size_t start = header_size + colours * 12;
  size_t size = size_t(image->bytes_per_line) * image->height;
  if (image->bits_per_pixel % 8 != 0 || file.size() < start + size) return false;
  image->data.assign(file.begin() + static_cast<long>(start),
                     file.begin() + static_cast<long>(start + size));
  return true;
}

struct WINDOW_RUN {
  std::string status;
  std::string geometry;
  XWD_IMAGE screenshot;
  bool screenshot_read = false;
};

WINDOW_RUN run_on_x(const std::string& program, int depth, const char* ending) {
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  std::string out = testing::TempDir() + "quombrax_window_" + test->name() + "_" +
                    std::to_string(depth) + "_" + std::to_string(getpid());
  std::system(("mkdir -p '" + out + "'").c_str());
  std::string command = "'" + run_window + "' '" + program + "' " + std::to_string(depth) +
                        " '" + out + "' " + ending + " >/dev/null 2>&1";
  std::system(command.c_str());
  WINDOW_RUN run;
  run.status = read_text(out + "/status");
  run.geometry = read_text(out + "/geometry");
  run.screenshot_read = parse_xwd(read_bytes(out + "/window.xwd"), &run.screenshot);
  std::system(("rm -rf '" + out + "'").c_str());
  return run;
}

class OnXServer : public testing::Test {
 protected:
  void SetUp() override {
    if (!have_x_tools()) GTEST_SKIP() << "needs xvfb-run, Xvfb, xdotool, xwd and xwininfo";
  }
};

int count_lit(const XWD_IMAGE& image) {
  int lit = 0;
  for (uint32_t y = 0; y < image.height; ++y) {
    for (uint32_t x = 0; x < image.width; ++x) lit += image.pixel(x, y) != 0;
  }
  return lit;
}

TEST_F(OnXServer, TheWindowShowsSceneOneAndQuitsOnQ) {
  for (int depth : {24, 16}) {
    // The picture is taken a second after the window opens; on a loaded
    // machine the show may still be in its opening fade then, so a black
    // picture earns another run, up to three.
    WINDOW_RUN run;
    for (int attempt = 0; attempt < 3; ++attempt) {
      run = run_on_x(window_program, depth, "q");
      if (run.screenshot_read && count_lit(run.screenshot) > 0) break;
    }
    EXPECT_EQ(run.status, "0\n") << depth << "-bit screen";
    EXPECT_NE(run.geometry.find("Width: 256\n"), std::string::npos) << depth;
    EXPECT_NE(run.geometry.find("Height: 256\n"), std::string::npos) << depth;
    ASSERT_TRUE(run.screenshot_read) << depth;
    ASSERT_EQ(run.screenshot.width, 256u);
    ASSERT_EQ(run.screenshot.height, 256u);
    int lit = count_lit(run.screenshot);
    // The roll covers 256 x 170 pixels, many of them lit; the corner brackets
    // stand on the screen's four corners.
    EXPECT_GT(lit, 256 * 16) << depth << "-bit screen: scene one's picture";
    for (uint32_t x : {0u, 255u}) {
      for (uint32_t y : {0u, 255u}) {
        EXPECT_NE(run.screenshot.pixel(x, y), 0u) << depth << ": corner " << x << ", " << y;
      }
    }
  }
}

TEST_F(OnXServer, SigtermEndsTheShowCleanly) {
  EXPECT_EQ(run_on_x(window_program, 24, "sigterm").status, "0\n");
}

TEST_F(OnXServer, TheFullscreenProgramRunsAndQuits) {
  EXPECT_EQ(run_on_x(fullscreen_program, 24, "q").status, "0\n");
}

TEST(NoDisplay, TheProgramSaysSoAndStops) {
  std::string err = testing::TempDir() + "quombrax_no_display.txt";
  std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER '" +
                        window_program + "' 2>'" + err + "' >/dev/null";
  int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_NE(read_text(err).find("quombrax: no display: "), std::string::npos);
}

}  // namespace
