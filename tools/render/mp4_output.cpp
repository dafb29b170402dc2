#include "tools/render/mp4_output.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

std::string video_path(const MP4_OUTPUT& mp4) { return mp4.folder + "/picture.mp4"; }
std::string sound_path(const MP4_OUTPUT& mp4) { return mp4.folder + "/sound.wav"; }

// Settings that keep the file the same for the same frames: no time stamps
// of the encoding and no library versions in it. The encoder's thread count
// is fixed too, since its output depends on it.
const std::vector<std::string> exact_output = {"-fflags",   "+bitexact", "-flags:v",
                                               "+bitexact", "-flags:a",  "+bitexact"};
const std::vector<std::string> quiet = {"-hide_banner", "-loglevel", "error", "-nostats"};

std::vector<std::string> encode_arguments(const MP4_OUTPUT& mp4) {
  std::vector<std::string> a = quiet;
  a.insert(a.end(), {"-f", "yuv4mpegpipe", "-i", "-", "-an", "-c:v", "libx264", "-preset", "medium",
                     "-crf", "18", "-pix_fmt", "yuv420p", "-threads", "2"});
  a.insert(a.end(), exact_output.begin(), exact_output.end());
  a.insert(a.end(), {"-f", "mp4", "-y", video_path(mp4)});
  return a;
}

std::vector<std::string> join_arguments(const MP4_OUTPUT& mp4, bool with_sound) {
  std::vector<std::string> a = quiet;
  a.insert(a.end(), {"-nostdin", "-i", video_path(mp4)});
  if (with_sound) a.insert(a.end(), {"-i", sound_path(mp4), "-map", "0:v", "-map", "1:a"});
  a.insert(a.end(), {"-c:v", "copy", "-c:a", "aac", "-b:a", "192k"});
  a.insert(a.end(), exact_output.begin(), exact_output.end());
  a.insert(a.end(), {"-movflags", "+faststart", "-f", "mp4", "-y", staged_writing_path(mp4.file)});
  return a;
}

bool make_folder(MP4_OUTPUT* mp4, std::string* error) {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern =
      std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/quombrax-render-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    *error = "cannot make a folder for the MP4's parts in " + pattern + ": " + std::strerror(errno);
    return false;
  }
  mp4->folder = pattern;
  return true;
}

bool say(std::string* error, const std::string& text) {
  *error = text;
  return false;
}

}  // namespace

bool mp4_open(MP4_OUTPUT* mp4, const std::string& path, int32_t width, int32_t height,
              int32_t scale, std::string* error) {
  mp4->program = ffmpeg_find();
  if (mp4->program.empty()) {
    return say(error, "--mp4 needs the ffmpeg program, and there is none on PATH");
  }
  if (!staged_open(&mp4->file, path, error)) return false;
  if (!make_folder(mp4, error)) {
    mp4_abandon(mp4);
    return false;
  }
  mp4->sound_file = std::fopen(sound_path(*mp4).c_str(), "wbe");
  if (mp4->sound_file == nullptr || !wav_start(&mp4->sound, mp4->sound_file) ||
      !ffmpeg_start(&mp4->encoder, mp4->program, encode_arguments(*mp4), error) ||
      !y4m_start(&mp4->picture, mp4->encoder.input, width, height, scale, true)) {
    if (error->empty()) *error = "cannot start the MP4's parts in " + mp4->folder;
    mp4_abandon(mp4);
    return false;
  }
  return true;
}

bool mp4_write_frame(MP4_OUTPUT* mp4, const uint32_t* pixels) {
  return y4m_write_frame(&mp4->picture, pixels);
}

bool mp4_write_sound(MP4_OUTPUT* mp4, const uint8_t* bytes, int32_t length) {
  return wav_write_sound(&mp4->sound, bytes, length);
}

bool mp4_finish(MP4_OUTPUT* mp4, std::string* error) {
  bool good = ffmpeg_finish(&mp4->encoder);
  if (!good) *error = "cannot write " + mp4->file.path + ": ffmpeg could not encode the picture";
  const bool with_sound = mp4->sound.bytes > 0;
  if (good && (!wav_finish(&mp4->sound) || std::fclose(mp4->sound_file) != 0)) {
    good = say(error, "cannot write " + mp4->file.path + ": the sound could not be kept");
  }
  mp4->sound_file = nullptr;
  if (good && !ffmpeg_run(mp4->program, join_arguments(*mp4, with_sound))) {
    good = say(error, "cannot write " + mp4->file.path + ": ffmpeg could not join the sound");
  }
  if (!good) {
    mp4_abandon(mp4);
    return false;
  }
  const bool placed = staged_commit(&mp4->file, error);
  mp4_abandon(mp4);  // the in-between files
  return placed;
}

void mp4_abandon(MP4_OUTPUT* mp4) {
  ffmpeg_finish(&mp4->encoder);
  if (mp4->sound_file != nullptr) std::fclose(mp4->sound_file);
  mp4->sound_file = nullptr;
  staged_abandon(&mp4->file);
  if (!mp4->folder.empty()) {
    std::remove(video_path(*mp4).c_str());
    std::remove(sound_path(*mp4).c_str());
    rmdir(mp4->folder.c_str());
    mp4->folder.clear();
  }
}
