// The general 4x4 inverse, formed as the adjugate over the determinant.
#include "Inverse.h"

namespace
{
	float at(const Tarn::Matrix4& m, int row, int column)
	{
		return m[4 * column + row];
	}

	// Determinant of the 3x3 minor of m without the given row and column.
	float minor(const Tarn::Matrix4& m, int skipRow, int skipColumn)
	{
		int rows[3];
		int columns[3];
		for (int i = 0, r = 0, c = 0; i < 4; i++)
		{
			if (i != skipRow)
				rows[r++] = i;
			if (i != skipColumn)
				columns[c++] = i;
		}
		const float a = at(m, rows[0], columns[0]), b = at(m, rows[0], columns[1]), c = at(m, rows[0], columns[2]);
		const float d = at(m, rows[1], columns[0]), e = at(m, rows[1], columns[1]), f = at(m, rows[1], columns[2]);
		const float g = at(m, rows[2], columns[0]), h = at(m, rows[2], columns[1]), k = at(m, rows[2], columns[2]);
		return a * (e * k - f * h) - b * (d * k - f * g) + c * (d * h - e * g);
	}
}

Tarn::Matrix4 inverse(const Tarn::Matrix4& m)
{
	// The adjugate is the transposed cofactor matrix: its (row, column) is the cofactor of
	// m's (column, row).
	Tarn::Matrix4 adjugate;
	for (int row = 0; row < 4; row++)
		for (int column = 0; column < 4; column++)
		{
			const float sign = ((row + column) & 1) ? -1.0f : 1.0f;
			adjugate[4 * column + row] = sign * minor(m, column, row);
		}

	// Element (0, 0) of adjugate x m: the adjugate's first row against m's first column.
	float determinant = 0.0f;
	for (int k = 0; k < 4; k++)
		determinant += at(adjugate, 0, k) * at(m, k, 0);

	Tarn::Matrix4 result;
	for (int i = 0; i < 16; i++)
		result[i] = adjugate[i] / determinant;
	return result;
}
