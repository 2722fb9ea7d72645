#include <tarn/Math.h>

#include <cmath> // Required for: cos(), sin(), sqrt()

namespace Tarn
{
	Matrix4::Matrix4()
	{
		for (float& element : elements)
			element = 0.0f;
	}

	Matrix4::Matrix4(float s)
		: Matrix4()
	{
		elements[0] = elements[5] = elements[10] = elements[15] = s;
	}

	void Matrix4::identity()
	{
		*this = Matrix4(1.0f);
	}

	Matrix4 operator*(const Matrix4& a, const Matrix4& b)
	{
		Matrix4 result;
		for (int c = 0; c < 4; c++)
			for (int r = 0; r < 4; r++)
			{
				float sum = 0.0f;
				for (int k = 0; k < 4; k++)
					sum += a[4 * k + r] * b[4 * c + k];
				result[4 * c + r] = sum;
			}
		return result;
	}

	Matrix4 rotate(const Matrix4& m, float angle, const Vector3& axis)
	{
		// Single-precision products; cos, sin and sqrt in double, rounded back to float, the way
		// the fixed-function rotation computes them.
		const float radians = angle * 0.017453292f;
		const float c = (float)std::cos((double)radians);
		const float s = (float)std::sin((double)radians);

		const float squareSum = axis.x * axis.x + axis.y * axis.y + axis.z * axis.z;
		const float inverseLength = 1.0f / (float)std::sqrt((double)squareSum);
		const float x = axis.x * inverseLength;
		const float y = axis.y * inverseLength;
		const float z = axis.z * inverseLength;
		const float t = 1.0f - c;

		const float r[3][3] = {
			{ t * x * x + c, t * x * y + z * s, t * x * z - y * s },
			{ t * x * y - z * s, t * y * y + c, t * y * z + x * s },
			{ t * x * z + y * s, t * y * z - x * s, t * z * z + c },
		};

		Matrix4 result;
		for (int column = 0; column < 3; column++)
			for (int row = 0; row < 4; row++)
				result[4 * column + row] = m[row] * r[column][0] + m[4 + row] * r[column][1] + m[8 + row] * r[column][2];
		for (int row = 0; row < 4; row++)
			result[12 + row] = m[12 + row];
		return result;
	}
}
