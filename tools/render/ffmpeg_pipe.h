#pragma once

#include <sys/types.h>

#include <cstdio>
#include <string>
#include <vector>

// The ffmpeg program, found on PATH: fed a stream through a pipe, or run to
// the end on files.
struct FFMPEG_PIPE {
  pid_t pid = -1;
  std::FILE* input = nullptr;  // ffmpeg's standard input
};

// The full path of ffmpeg on PATH; empty when there is none.
std::string ffmpeg_find();

// Starts ffmpeg with `arguments` (after the program name), its standard
// input a pipe from us and its standard output closed to it. Returns false,
// with `error` set, when it cannot be started.
bool ffmpeg_start(FFMPEG_PIPE* pipe, const std::string& program,
                  const std::vector<std::string>& arguments, std::string* error);
// Closes the pipe and waits: true when ffmpeg ended with status 0.
bool ffmpeg_finish(FFMPEG_PIPE* pipe);
// Runs ffmpeg to the end: true when it ended with status 0.
bool ffmpeg_run(const std::string& program, const std::vector<std::string>& arguments);
