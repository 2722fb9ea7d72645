// Column-major 4x4 float matrices and three-float vectors, handed to OpenGL unchanged.
// Element (row r, column c) lives at index 4c + r; a translation sits at indices 12, 13, 14.
#pragma once

namespace Tarn
{
	struct Vector3
	{
		float x;
		float y;
		float z;
	};

	class Matrix4
	{
	public:
		Matrix4();                  // all zero
		explicit Matrix4(float s);  // s on the whole diagonal

		void identity();

		float& operator[](int index) { return elements[index]; }
		const float& operator[](int index) const { return elements[index]; }

		float* data() { return elements; }
		const float* data() const { return elements; }

		float elements[16];
	};

	Matrix4 operator*(const Matrix4& a, const Matrix4& b);

	// m * R(angle in degrees about axis), composing exactly like glRotatef applied to m.
	Matrix4 rotate(const Matrix4& m, float angle, const Vector3& axis);
}
