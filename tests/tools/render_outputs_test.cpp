#include <gtest/gtest.h>

#include <cstring>

#include "tests/tools/render_program.h"
#include "tools/png/png_file.h"

namespace {

namespace fs = std::filesystem;

constexpr int32_t fade_frames = 32;  // the fade-out before every scene and at the end
constexpr size_t samples_per_frame = 882;
constexpr size_t wav_header = 44;

uint32_t u32_at(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
  return value;
}

uint32_t u16_at(const std::string& bytes, size_t at) {
  return static_cast<uint8_t>(bytes[at]) |
         static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 1])) << 8;
}

// Checks the header and gives the number of samples.
size_t wav_samples(const std::string& wav) {
  EXPECT_GE(wav.size(), wav_header);
  if (wav.size() < wav_header) return 0;
  EXPECT_EQ(wav.substr(0, 4), "RIFF");
  EXPECT_EQ(u32_at(wav, 4), wav.size() - 8);
  EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(u32_at(wav, 16), 16u);
  EXPECT_EQ(u16_at(wav, 20), 1u) << "PCM";
  EXPECT_EQ(u16_at(wav, 22), 1u) << "one channel";
  EXPECT_EQ(u32_at(wav, 24), 44100u);
  EXPECT_EQ(u32_at(wav, 28), 88200u) << "bytes a second";
  EXPECT_EQ(u16_at(wav, 32), 2u) << "bytes a sample";
  EXPECT_EQ(u16_at(wav, 34), 16u) << "bits";
  EXPECT_EQ(wav.substr(36, 4), "data");
  EXPECT_EQ(u32_at(wav, 40), wav.size() - wav_header);
  return (wav.size() - wav_header) / 2;
}

struct Y4M {
  std::string header;
  size_t frames = 0;
  size_t frame_bytes = 0;  // planes of one frame
  std::vector<std::string> planes;
};

// Splits a Y4M stream into its frames, checking that each has the size.
Y4M read_y4m(const std::string& bytes, size_t frame_bytes) {
  Y4M y4m;
  const size_t end_of_header = bytes.find('\n');
  if (end_of_header == std::string::npos) return y4m;
  y4m.header = bytes.substr(0, end_of_header);
  y4m.frame_bytes = frame_bytes;
  size_t at = end_of_header + 1;
  while (at < bytes.size()) {
    EXPECT_EQ(bytes.compare(at, 6, "FRAME\n"), 0) << "frame " << y4m.frames + 1;
    if (bytes.compare(at, 6, "FRAME\n") != 0 || at + 6 + frame_bytes > bytes.size()) break;
    y4m.planes.push_back(bytes.substr(at + 6, frame_bytes));
    at += 6 + frame_bytes;
    y4m.frames += 1;
  }
  EXPECT_EQ(at, bytes.size()) << "nothing after the last whole frame";
  return y4m;
}

PNG_PICTURE read_png(const std::string& path) {
  PNG_PICTURE picture;
  std::string error;
  EXPECT_TRUE(png_read_file(path, &picture, &error)) << error;
  return picture;
}

// The frames before the first key poll are the opening fade, which takes no
// show time: 100 frames after it are 100 x 20 ms of sound.
TEST(RenderOutputs, WavHolds882SamplesForEvery20MillisecondsOfShowTime) {
  ScratchFolder folder;
  RENDER_RESULT result = run_render({"--frames", "132", "--wav", folder.file("a.wav")});
  ASSERT_EQ(result.status, 0) << result.errors;
  const std::string wav = read_bytes(folder.file("a.wav"));
  EXPECT_EQ(wav_samples(wav), 100 * samples_per_frame);
  size_t loud = 0;
  for (size_t i = wav_header; i < wav.size(); ++i) loud += wav[i] != 0;
  EXPECT_GT(loud, wav.size() / 4) << "the music plays from the first frame";
  // Sound belongs to the frame shown after it: from frame 50 on, 83 frames.
  result = run_render({"--frames", "132", "--from", "50", "--wav", folder.file("b.wav")});
  ASSERT_EQ(result.status, 0) << result.errors;
  const std::string later = read_bytes(folder.file("b.wav"));
  EXPECT_EQ(wav_samples(later), 83 * samples_per_frame);
  EXPECT_EQ(later.substr(wav_header), wav.substr(wav.size() - (later.size() - wav_header)));
}

TEST(RenderOutputs, Y4mHasItsHeaderAndOneWholeFramePerPresentedFrame) {
  ScratchFolder folder;
  RENDER_RESULT result =
      run_render({"--frames", "40", "--from", "3", "--y4m", folder.file("a.y4m")});
  ASSERT_EQ(result.status, 0) << result.errors;
  Y4M y4m = read_y4m(read_bytes(folder.file("a.y4m")), 3 * 256 * 256);
  EXPECT_EQ(y4m.header, "YUV4MPEG2 W256 H256 F50:1 Ip A1:1 C444");
  EXPECT_EQ(y4m.frames, 38u);
  // Standard output, 4:2:0, another size and enlarged.
  result = run_render({"--frames", "5", "--size", "320x240", "--scale", "2", "--y4m-420", "-"});
  ASSERT_EQ(result.status, 0) << result.errors;
  y4m = read_y4m(result.output, 640 * 480 * 3 / 2);
  EXPECT_EQ(y4m.header, "YUV4MPEG2 W640 H480 F50:1 Ip A1:1 C420jpeg");
  EXPECT_EQ(y4m.frames, 5u);
}

// The video's colours are the pictures' colours: Y, U and V from the PNG of
// the same frame by the BT.601 studio-range formulas, to within rounding.
TEST(RenderOutputs, Y4mPlanesMatchThePngOfTheSameFrame) {
  ScratchFolder folder;
  const RENDER_RESULT result = run_render(
      {"--frames", "60", "--from", "60", "--y4m", folder.file("a.y4m"), "--png", folder.path()});
  ASSERT_EQ(result.status, 0) << result.errors;
  const Y4M y4m = read_y4m(read_bytes(folder.file("a.y4m")), 3 * 256 * 256);
  ASSERT_EQ(y4m.frames, 1u);
  const PNG_PICTURE picture = read_png(folder.file("frame-000060.png"));
  ASSERT_EQ(picture.pixels.size(), 256u * 256u);
  size_t lit = 0;
  for (size_t i = 0; i < picture.pixels.size(); ++i) {
    const double r = picture.pixels[i] >> 16 & 255, g = picture.pixels[i] >> 8 & 255,
                 b = picture.pixels[i] & 255;
    const double expected[3] = {16 + (65.738 * r + 129.057 * g + 25.064 * b) / 256,
                                128 + (-37.945 * r - 74.494 * g + 112.439 * b) / 256,
                                128 + (112.439 * r - 94.154 * g - 18.285 * b) / 256};
    for (int plane = 0; plane < 3; ++plane) {
      const double got = static_cast<uint8_t>(y4m.planes[0][plane * 65536 + i]);
      ASSERT_NEAR(got, expected[plane], 1.0) << "pixel " << i << " plane " << plane;
    }
    lit += picture.pixels[i] != 0;
  }
  EXPECT_GT(lit, 65536u / 4) << "a frame of scene one, not a black one";
}

TEST(RenderOutputs, PngsAreNumberedFromTheFirstWrittenFrameAndScaled) {
  ScratchFolder folder;
  const RENDER_RESULT result =
      run_render({"--frames", "45", "--from", "43", "--scale", "3", "--png", folder.path()});
  ASSERT_EQ(result.status, 0) << result.errors;
  EXPECT_EQ(folder.files(), 3u);
  const PNG_PICTURE small = [&] {
    ScratchFolder plain;
    EXPECT_EQ(run_render({"--frames", "44", "--from", "44", "--png", plain.path()}).status, 0);
    return read_png(plain.file("frame-000044.png"));
  }();
  for (const char* name : {"frame-000043.png", "frame-000044.png", "frame-000045.png"}) {
    const PNG_PICTURE picture = read_png(folder.file(name));
    EXPECT_EQ(picture.width, 768) << name;
    EXPECT_EQ(picture.height, 768) << name;
  }
  const PNG_PICTURE big = read_png(folder.file("frame-000044.png"));
  ASSERT_EQ(small.width, 256);
  for (int32_t y = 0; y < 768; ++y) {
    for (int32_t x = 0; x < 768; ++x) {
      ASSERT_EQ(big.pixels[static_cast<size_t>(y) * 768 + x],
                small.pixels[static_cast<size_t>(y / 3) * 256 + x / 3])
          << "at " << x << "," << y;
    }
  }
}

TEST(RenderOutputs, SizeGivesTheShowAScreenOfThatSize) {
  ScratchFolder folder;
  const RENDER_RESULT result =
      run_render({"--frames", "60", "--from", "60", "--size", "320x240", "--png", folder.path()});
  ASSERT_EQ(result.status, 0) << result.errors;
  const PNG_PICTURE picture = read_png(folder.file("frame-000060.png"));
  EXPECT_EQ(picture.width, 320);
  EXPECT_EQ(picture.height, 240);
  size_t lit_right = 0, lit_bottom = 0;
  for (int32_t y = 0; y < 240; ++y) {
    for (int32_t x = 0; x < 320; ++x) {
      const bool lit = picture.pixels[static_cast<size_t>(y) * 320 + x] != 0;
      lit_right += lit && x >= 256;
      lit_bottom += lit && y >= 200;
    }
  }
  EXPECT_GT(lit_right, 0u) << "the show draws beyond the 256 columns of its usual screen";
  EXPECT_GT(lit_bottom, 0u) << "and down to its last rows";
}

// The show ends itself on "q" after its fade-out; the render finishes every
// output on the way out and reports success.
TEST(RenderOutputs, ScriptedQuitRendersTheFadeOutAndExitsZero) {
  ScratchFolder folder;
  const RENDER_RESULT result = run_render({"--frames", "5000", "--keys", "70:q", "--from", "70",
                                           "--png", folder.path(), "--wav", folder.file("a.wav")});
  ASSERT_EQ(result.status, 0) << result.errors;
  EXPECT_EQ(folder.files(), 1u + 1 + fade_frames) << "frames 70 to 102 and the WAV";
  EXPECT_EQ(wav_samples(read_bytes(folder.file("a.wav"))), samples_per_frame)
      << "the fade takes no time";
  uint64_t previous = UINT64_MAX;
  for (int32_t frame = 70; frame <= 70 + fade_frames; ++frame) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%06d.png", frame);
    const PNG_PICTURE picture = read_png(folder.file(name));
    uint64_t brightness = 0;
    for (uint32_t p : picture.pixels) brightness += (p >> 16 & 255) + (p >> 8 & 255) + (p & 255);
    EXPECT_LT(brightness, previous) << name << " is darker than the frame before";
    if (frame == 70 + fade_frames) {
      EXPECT_EQ(brightness, 0u) << "the last frame is black";
    }
    previous = brightness == 0 ? 1 : brightness;
  }
}

// Left alone, the show runs its five scenes once and ends on the fade-out.
// On the smallest screen, so that the sanitizers' build runs it in moments.
TEST(RenderOutputs, DefaultLengthIsOneWholeCycleEndingClean) {
  ScratchFolder folder;
  const RENDER_RESULT result = run_render({"--size", "64x64", "--wav", folder.file("cycle.wav")});
  ASSERT_EQ(result.status, 0) << result.errors;
  const size_t samples = wav_samples(read_bytes(folder.file("cycle.wav")));
  EXPECT_EQ(samples % samples_per_frame, 0u);
  // Five scenes of at least 1001 frames each.
  EXPECT_GT(samples / samples_per_frame, 5u * 1001);
  EXPECT_EQ(folder.files(), 1u) << "no temporary file left";
}

TEST(RenderOutputs, SameArgumentsGiveTheSameBytes) {
  ScratchFolder one, two;
  for (const ScratchFolder* folder : {&one, &two}) {
    const RENDER_RESULT result = run_render(
        {"--frames", "90", "--from", "80", "--keys", "40:space,75:8", "--scale", "2", "--png",
         folder->path(), "--y4m-420", folder->file("v.y4m"), "--wav", folder->file("s.wav")});
    ASSERT_EQ(result.status, 0) << result.errors;
  }
  ASSERT_EQ(one.files(), 13u) << "11 PNGs, the video and the sound";
  for (const auto& entry : fs::directory_iterator(one.path())) {
    const std::string name = entry.path().filename().string();
    const std::string bytes = read_bytes(entry.path());
    EXPECT_GT(bytes.size(), 100u) << name;
    EXPECT_TRUE(bytes == read_bytes(two.file(name))) << name << " differs between two runs";
  }
}

struct Unwritable {
  std::vector<std::string> arguments;  // "@" stands for the test's folder
  const char* says;
};

// An output that cannot be written ends the render with one line and status
// 1, and leaves nothing half-written in the folder.
TEST(RenderOutputs, UnwritableOutputsGiveStatusOneAndLeaveNothing) {
  const Unwritable cases[] = {
      {{"--png", "@/missing"}, "cannot write into @/missing: no such folder"},
      {{"--y4m", "@/missing/a.y4m"}, "cannot write @/missing/a.y4m: No such file or directory"},
      {{"--wav", "@/missing/a.wav"}, "cannot write @/missing/a.wav"},
      {{"--wav", "/dev/full"}, "cannot write /dev/full"},
      {{"--y4m", "/dev/full", "--wav", "@/a.wav"}, "cannot write /dev/full"},
  };
  for (const Unwritable& c : cases) {
    ScratchFolder folder;
    std::vector<std::string> arguments = {"--frames", "300"};
    std::string shown;
    for (std::string a : c.arguments) {
      if (a[0] == '@') a = folder.path().string() + a.substr(1);
      arguments.push_back(a);
      shown += a + " ";
    }
    SCOPED_TRACE(shown);
    std::string says = c.says;
    if (says.find('@') != std::string::npos)
      says.replace(says.find('@'), 1, folder.path().string());
    const RENDER_RESULT result = run_render(arguments);
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.errors.find(says), std::string::npos) << result.errors;
    EXPECT_EQ(std::count(result.errors.begin(), result.errors.end(), '\n'), 1) << result.errors;
    EXPECT_EQ(folder.files(), 0u);
  }
}

// A disk that fills up while the render runs: the write fails part of the
// way and the file it was writing is removed; PNGs already written stay
// whole and readable.
TEST(RenderOutputs, AFullDiskMidRenderRemovesTheUnfinishedFile) {
  ScratchFolder folder;
  RENDER_SETTINGS full_after_a_megabyte;
  full_after_a_megabyte.file_size_limit = 1 << 20;
  RENDER_RESULT result =
      run_render({"--frames", "100", "--y4m", folder.file("a.y4m")}, full_after_a_megabyte);
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.errors.find("cannot write " + folder.file("a.y4m")), std::string::npos)
      << result.errors;
  EXPECT_EQ(folder.files(), 0u);

  // The fade's black frames are small; the first of scene one is not.
  RENDER_SETTINGS full_after_eight_kilobytes;
  full_after_eight_kilobytes.file_size_limit = 8 << 10;
  result = run_render({"--frames", "40", "--png", folder.path()}, full_after_eight_kilobytes);
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.errors.find("cannot write " + folder.path().string() + "/frame-"),
            std::string::npos)
      << result.errors;
  EXPECT_EQ(folder.files(), 32u) << "the fade's frames";
  for (const auto& entry : fs::directory_iterator(folder.path())) {
    EXPECT_EQ(entry.path().extension(), ".png") << entry.path();
    PNG_PICTURE picture;
    EXPECT_TRUE(png_read_file(entry.path().string(), &picture)) << entry.path();
  }
}

}  // namespace
