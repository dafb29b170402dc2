#include <gtest/gtest.h>

#include <cstdio>

#include "tests/tools/render_program.h"
#include "tools/render/ffmpeg_pipe.h"

namespace {

// What ffprobe says of the file's streams, one line each; empty without ffprobe.
std::string probe_streams(const std::string& path) {
  const std::string command =
      "ffprobe -v error -show_entries stream=codec_name,width,height,nb_frames -of compact '" +
      path + "' 2>/dev/null";
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return "";
  std::string text;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) text += buffer;
  pclose(pipe);
  return text;
}

TEST(RenderMp4, ItHoldsEveryFrameAndTheSound) {
  if (ffmpeg_find().empty()) GTEST_SKIP() << "ffmpeg is not on PATH: no MP4 can be made here";
  ScratchFolder folder;
  const RENDER_RESULT result =
      run_render({"--frames", "60", "--scale", "2", "--mp4", folder.file("show.mp4")});
  ASSERT_EQ(result.status, 0) << result.errors;
  EXPECT_EQ(folder.files(), 1u);
  const std::string bytes = read_bytes(folder.file("show.mp4"));
  ASSERT_GT(bytes.size(), 1000u);
  EXPECT_EQ(bytes.substr(4, 4), "ftyp");
  const std::string streams = probe_streams(folder.file("show.mp4"));
  if (streams.empty()) GTEST_SKIP() << "ffprobe is not on PATH: the streams go unchecked";
  EXPECT_NE(streams.find("codec_name=h264|width=512|height=512|nb_frames=60"), std::string::npos)
      << streams;
  EXPECT_NE(streams.find("codec_name=aac"), std::string::npos) << streams;
}

TEST(RenderMp4, WithoutFfmpegItSaysSoAndWritesNothing) {
  ScratchFolder folder;
  RENDER_SETTINGS no_ffmpeg;
  no_ffmpeg.environment = {"PATH=" + folder.path().string()};
  const RENDER_RESULT result =
      run_render({"--frames", "10", "--mp4", folder.file("show.mp4")}, no_ffmpeg);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.errors,
            "quombrax-render: --mp4 needs the ffmpeg program, and there is none on PATH\n");
  EXPECT_EQ(folder.files(), 0u);
}

}  // namespace
