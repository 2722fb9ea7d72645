#include "CrossLayout.h"

#include <cstdlib> // Required for: std::abs

CrossLayout cubeMapCross()
{
	// OpenGL addresses face texel (s, t) of +X at direction (1, -t, -s) with s, t in [-1, 1]
	// (and likewise for the others); the -Z block is stored turned, which flips both s and t.
	return { 3, 4, {
		{ 2, 1, { 1, 0, 0 }, { 0, 0, -1 }, { 0, -1, 0 } },  // +X
		{ 0, 1, { -1, 0, 0 }, { 0, 0, 1 }, { 0, -1, 0 } },  // -X
		{ 1, 0, { 0, 1, 0 }, { 1, 0, 0 }, { 0, 0, 1 } },    // +Y
		{ 1, 2, { 0, -1, 0 }, { 1, 0, 0 }, { 0, 0, -1 } },  // -Y
		{ 1, 1, { 0, 0, 1 }, { 1, 0, 0 }, { 0, -1, 0 } },   // +Z
		{ 1, 3, { 0, 0, -1 }, { 1, 0, 0 }, { 0, 1, 0 } },   // -Z, turned by 180 degrees
	} };
}

CrossLayout columnSkyCross()
{
	// The column scene maps world y upwards to increasing t, so its picture is stored upside
	// down; the blocks below follow its sky box's texture coordinates exactly.
	return { 4, 3, {
		{ 0, 1, { 0, 0, -1 }, { 1, 0, 0 }, { 0, 1, 0 } },  // z = -1
		{ 1, 1, { 1, 0, 0 }, { 0, 0, 1 }, { 0, 1, 0 } },   // x = +1
		{ 2, 1, { 0, 0, 1 }, { -1, 0, 0 }, { 0, 1, 0 } },  // z = +1
		{ 3, 1, { -1, 0, 0 }, { 0, 0, -1 }, { 0, 1, 0 } }, // x = -1
		{ 1, 2, { 0, 1, 0 }, { 1, 0, 0 }, { 0, 0, -1 } },  // y = +1
		{ 1, 0, { 0, -1, 0 }, { 0, 0, 1 }, { 1, 0, 0 } },  // y = -1
	} };
}

namespace
{
	const CrossFace* faceAt(const CrossLayout& layout, int column, int row)
	{
		for (const CrossFace& face : layout.faces)
			if (face.column == column && face.row == row)
				return &face;
		return nullptr;
	}

	// The face an empty block continues: the nearest one in its row, else in its column.
	const CrossFace& nearestFace(const CrossLayout& layout, int column, int row)
	{
		const CrossFace* best = &layout.faces.front();
		int bestDistance = 1000;
		for (const CrossFace& face : layout.faces)
		{
			int distance = 1000;
			if (face.row == row)
				distance = std::abs(face.column - column);
			else if (face.column == column)
				distance = std::abs(face.row - row) + 100;
			if (distance < bestDistance)
			{
				bestDistance = distance;
				best = &face;
			}
		}
		return *best;
	}

	// Block coordinate of a pixel relative to a face, beyond [-1, 1] outside its block.
	float blockCoordinate(int picturePosition, int faceBlock, int faceSize)
	{
		const float scale = 2.0f / static_cast<float>(faceSize);
		return (static_cast<float>(picturePosition - faceBlock * faceSize) + 0.5f) * scale - 1.0f;
	}

	// The painted texel that shows direction d: the face it points at most directly.
	Vec3 lookUp(const CrossLayout& layout, int faceSize, const Canvas& canvas, Vec3 d)
	{
		const CrossFace* best = &layout.faces.front();
		for (const CrossFace& face : layout.faces)
			if (dot(d, face.centre) > dot(d, best->centre))
				best = &face;
		const float along = dot(d, best->centre);
		const float u = dot(d, best->right) / along, v = dot(d, best->down) / along;
		auto texel = [faceSize](float c) {
			const int t = static_cast<int>((c + 1.0f) * 0.5f * static_cast<float>(faceSize));
			return t < 0 ? 0 : (t >= faceSize ? faceSize - 1 : t);
		};
		return canvas.getColour(best->column * faceSize + texel(u), best->row * faceSize + texel(v));
	}
}

Canvas paintCross(const CrossLayout& layout, int faceSize, const SkyFunction& sky)
{
	Canvas canvas(layout.columns * faceSize, layout.rows * faceSize);
	for (const CrossFace& face : layout.faces)
	{
		for (int y = face.row * faceSize; y < (face.row + 1) * faceSize; ++y)
		{
			const float v = blockCoordinate(y, face.row, faceSize);
			for (int x = face.column * faceSize; x < (face.column + 1) * faceSize; ++x)
			{
				const float u = blockCoordinate(x, face.column, faceSize);
				canvas.setColour(x, y, sky(normalize(face.centre + face.right * u + face.down * v)));
			}
		}
	}

	// Empty blocks repeat the painted faces as seen past the edge of their nearest face.
	for (int blockRow = 0; blockRow < layout.rows; ++blockRow)
	{
		for (int blockColumn = 0; blockColumn < layout.columns; ++blockColumn)
		{
			if (faceAt(layout, blockColumn, blockRow))
				continue;
			const CrossFace& face = nearestFace(layout, blockColumn, blockRow);
			for (int y = blockRow * faceSize; y < (blockRow + 1) * faceSize; ++y)
			{
				const float v = blockCoordinate(y, face.row, faceSize);
				for (int x = blockColumn * faceSize; x < (blockColumn + 1) * faceSize; ++x)
				{
					const float u = blockCoordinate(x, face.column, faceSize);
					const Vec3 direction = face.centre + face.right * u + face.down * v;
					canvas.setColour(x, y, lookUp(layout, faceSize, canvas, direction));
				}
			}
		}
	}
	return canvas;
}
