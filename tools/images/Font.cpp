#include "Font.h"

#include <tarn/Exception.h>

#include <cmath>   // Required for: std::floor
#include <fstream> // Required for: std::ifstream
#include <iterator> // Required for: std::istreambuf_iterator

Font::Font(const std::string& path)
	: info()
{
	std::ifstream stream(path, std::ios::binary);
	if (!stream.good())
		throw Tarn::Exception(Tarn::String("Could not open font \"") + path.c_str() + "\"", "tools\\images\\Font", __LINE__);
	data.assign(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
	if (data.empty() || !stbtt_InitFont(&info, data.data(), stbtt_GetFontOffsetForIndex(data.data(), 0)))
		throw Tarn::Exception(Tarn::String("Could not read font \"") + path.c_str() + "\"", "tools\\images\\Font", __LINE__);
}

float Font::advance(const std::string& text, size_t index, float scale, float tracking, float size) const
{
	const int letter = static_cast<unsigned char>(text[index]);
	int advanceWidth = 0, leftBearing = 0;
	stbtt_GetCodepointHMetrics(&info, letter, &advanceWidth, &leftBearing);
	float result = static_cast<float>(advanceWidth) * scale;
	if (index + 1 < text.size())
	{
		result += static_cast<float>(stbtt_GetCodepointKernAdvance(&info, letter, static_cast<unsigned char>(text[index + 1]))) * scale;
		result += tracking * size;
	}
	return result;
}

float Font::measure(const std::string& text, float size, float tracking) const
{
	const float scale = stbtt_ScaleForMappingEmToPixels(&info, size);
	float width = 0.0f;
	for (size_t i = 0; i < text.size(); ++i)
		width += advance(text, i, scale, tracking, size);
	return width;
}

float Font::xHeight(float size) const
{
	const float scale = stbtt_ScaleForMappingEmToPixels(&info, size);
	int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
	stbtt_GetCodepointBox(&info, 'x', &x0, &y0, &x1, &y1);
	return static_cast<float>(y1) * scale;
}

void Font::draw(Canvas& canvas, const std::string& text, float x, float baseline, float size, float tracking,
	int onlyIndex) const
{
	const float scale = stbtt_ScaleForMappingEmToPixels(&info, size);
	float penX = x;
	for (size_t i = 0; i < text.size(); ++i)
	{
		if (onlyIndex < 0 || static_cast<size_t>(onlyIndex) == i)
		{
			// The glyph is rendered at its sub-pixel offset so spacing stays exact.
			const float originX = std::floor(penX), originY = std::floor(baseline);
			int width = 0, height = 0, offsetX = 0, offsetY = 0;
			unsigned char* bitmap = stbtt_GetCodepointBitmapSubpixel(&info, scale, scale, penX - originX,
				baseline - originY, static_cast<unsigned char>(text[i]), &width, &height, &offsetX, &offsetY);
			for (int row = 0; row < height; ++row)
			{
				for (int column = 0; column < width; ++column)
				{
					const int px = static_cast<int>(originX) + offsetX + column;
					const int py = static_cast<int>(originY) + offsetY + row;
					if (px < 0 || py < 0 || px >= canvas.getWidth() || py >= canvas.getHeight())
						continue;
					float& alpha = canvas.pixel(px, py)[3];
					const float coverage = static_cast<float>(bitmap[row * width + column]) / 255.0f;
					if (coverage > alpha)
						alpha = coverage;
				}
			}
			stbtt_FreeBitmap(bitmap, nullptr);
		}
		penX += advance(text, i, scale, tracking, size);
	}
}
