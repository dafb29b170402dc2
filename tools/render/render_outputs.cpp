#include "tools/render/render_outputs.h"

#include <sys/stat.h>

#include <cstdio>

#include "tools/png/png_file.h"

namespace {

bool say(std::string* error, const std::string& text) {
  *error = text;
  return false;
}

bool is_folder(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool open_y4m(RENDER_OUTPUTS* o, const RENDER_OPTIONS& options, std::string* error) {
  if (options.y4m_path.empty()) return true;
  o->y4m_wanted = true;
  if (!staged_open(&o->y4m_file, options.y4m_path, error)) return false;
  return y4m_start(&o->y4m, o->y4m_file.stream, o->width, o->height, o->scale, options.y4m_420) ||
         say(error, "cannot write " + options.y4m_path);
}

bool open_wav(RENDER_OUTPUTS* o, const RENDER_OPTIONS& options, std::string* error) {
  if (options.wav_path.empty()) return true;
  o->wav_wanted = true;
  if (!staged_open(&o->wav_file, options.wav_path, error)) return false;
  return wav_start(&o->wav, o->wav_file.stream) || say(error, "cannot write " + options.wav_path);
}

bool open_mp4(RENDER_OUTPUTS* o, const RENDER_OPTIONS& options, std::string* error) {
  if (options.mp4_path.empty()) return true;
  o->mp4_wanted = true;
  return mp4_open(&o->mp4, options.mp4_path, o->width, o->height, o->scale, error);
}

}  // namespace

std::string render_png_name(int64_t frame) {
  char name[32];
  std::snprintf(name, sizeof name, "frame-%06lld.png", static_cast<long long>(frame));
  return name;
}

bool render_outputs_open(RENDER_OUTPUTS* outputs, const RENDER_OPTIONS& options,
                         std::string* error) {
  RENDER_OUTPUTS& o = *outputs;
  o.width = options.width;
  o.height = options.height;
  o.scale = options.scale;
  o.png_folder = options.png_folder;
  if (!o.png_folder.empty() && !is_folder(o.png_folder)) {
    return say(error, "cannot write into " + o.png_folder + ": no such folder");
  }
  if (open_y4m(outputs, options, error) && open_wav(outputs, options, error) &&
      open_mp4(outputs, options, error)) {
    return true;
  }
  render_outputs_abandon(outputs);
  return false;
}

bool render_outputs_frame(RENDER_OUTPUTS* outputs, int64_t frame, const uint32_t* pixels,
                          std::string* error) {
  RENDER_OUTPUTS& o = *outputs;
  if (!o.png_folder.empty() && !png_write_file(o.png_folder + "/" + render_png_name(frame), pixels,
                                               o.width, o.height, o.scale, error)) {
    return false;
  }
  if (o.y4m_wanted && !y4m_write_frame(&o.y4m, pixels)) {
    return say(error, "cannot write " + o.y4m_file.path);
  }
  if (o.mp4_wanted && !mp4_write_frame(&o.mp4, pixels)) {
    return say(error, "cannot write " + o.mp4.file.path + ": ffmpeg stopped taking the picture");
  }
  return true;
}

bool render_outputs_sound(RENDER_OUTPUTS* outputs, const uint8_t* bytes, int32_t length,
                          std::string* error) {
  RENDER_OUTPUTS& o = *outputs;
  if (o.wav_wanted && !wav_write_sound(&o.wav, bytes, length)) {
    return say(error, "cannot write " + o.wav_file.path);
  }
  if (o.mp4_wanted && !mp4_write_sound(&o.mp4, bytes, length)) {
    return say(error, "cannot write " + o.mp4.file.path + ": the sound could not be kept");
  }
  return true;
}

bool render_outputs_finish(RENDER_OUTPUTS* outputs, std::string* error) {
  RENDER_OUTPUTS& o = *outputs;
  bool good = true;
  if (o.y4m_wanted) {
    good = staged_commit(&o.y4m_file, error);
    o.y4m_wanted = false;
  }
  if (good && o.wav_wanted) {
    good = (wav_finish(&o.wav) || say(error, "cannot write " + o.wav_file.path)) &&
           staged_commit(&o.wav_file, error);
    o.wav_wanted = good ? false : o.wav_wanted;
  }
  if (good && o.mp4_wanted) {
    good = mp4_finish(&o.mp4, error);
    o.mp4_wanted = false;
  }
  if (!good) render_outputs_abandon(outputs);
  return good;
}

void render_outputs_abandon(RENDER_OUTPUTS* outputs) {
  RENDER_OUTPUTS& o = *outputs;
  staged_abandon(&o.y4m_file);
  staged_abandon(&o.wav_file);
  mp4_abandon(&o.mp4);
  o.y4m_wanted = o.wav_wanted = o.mp4_wanted = false;
}
