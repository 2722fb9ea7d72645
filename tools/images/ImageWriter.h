// Writes a Canvas as the PNG or JPEG files the program loads. Fixed settings (PNG compression,
// JPEG quality) keep the bytes the same from run to run.
#pragma once

#include "Canvas.h"

#include <string> // Required for: std::string

// channels: 3 for RGB, 4 for RGBA. Throws Tarn::Exception when the file cannot be written.
void writePng(const std::string& path, const Canvas& canvas, int channels);

// RGB at a fixed quality, dithered against banding. Throws Tarn::Exception when the file cannot be written.
void writeJpeg(const std::string& path, const Canvas& canvas);
