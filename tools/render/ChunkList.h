// The chunks a join copies (tools/render-farm.sh): the files of its ffmpeg concat list, and how
// many frames each really holds, so a missing or truncated chunk is named before anything is
// written.
#pragma once

#include <string>
#include <vector>

// The files of a concat list as the farm writes it, one "file 'NAME'" a line (ffmpeg's quoting),
// NAME relative to the list's folder. Throws Tarn::Exception naming the list or the line it
// cannot read.
std::vector<std::string> readChunkList(const std::string& list);

// The video frames ffprobe reads from the file to its end; 0 when it reads none. Throws if
// ffprobe cannot be started.
long countVideoFrames(const std::string& path);
