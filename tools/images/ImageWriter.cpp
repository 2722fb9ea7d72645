#include "ImageWriter.h"

#include <tarn/Exception.h>

#include <stb_image_write.h> // Required for: stbi_write_png, stbi_write_jpg

namespace
{
	const int jpegQuality = 92;

	void failWrite(const std::string& path, int line)
	{
		throw Tarn::Exception(Tarn::String("Could not write image \"") + path.c_str() + "\"",
			"tools\\images\\ImageWriter", line);
	}
}

void writePng(const std::string& path, const Canvas& canvas, int channels)
{
	const std::vector<unsigned char> bytes = canvas.toBytes(channels, false);
	stbi_write_png_compression_level = 6;
	if (!stbi_write_png(path.c_str(), canvas.getWidth(), canvas.getHeight(), channels, bytes.data(),
			canvas.getWidth() * channels))
		failWrite(path, __LINE__);
}

void writeJpeg(const std::string& path, const Canvas& canvas)
{
	const std::vector<unsigned char> bytes = canvas.toBytes(3, true);
	if (!stbi_write_jpg(path.c_str(), canvas.getWidth(), canvas.getHeight(), 3, bytes.data(), jpegQuality))
		failWrite(path, __LINE__);
}
