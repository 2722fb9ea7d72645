#version 130
// Ombrix: the full-screen rectangle passes through as clip coordinates; the fragment program
// builds the camera ray from the interpolated screen position. The eye and the monolith's turn
// follow from the uniforms alone: worked out here, at four corners, not again at every pixel.
uniform float Time;
uniform float RotationTime;
uniform mat4 View;
uniform mat4 ViewRotation;

out vec2 screenPosition;
flat out vec3 eye;
flat out mat3 monolithTurn;

void main()
{
	screenPosition = gl_Vertex.xy;
	gl_Position = vec4(gl_Vertex.xy, 0.0, 1.0);

	// The view matrix maps world to eye; its inverse places the camera. The translation is
	// undone through the rotation, which is orthonormal, so a transpose inverts it.
	eye = -(View[3].xyz * mat3(ViewRotation));
	eye.z -= Time * 0.6;

	// The great cube turns slowly about two axes.
	float a = RotationTime * 0.12 + 0.6;
	float b = RotationTime * 0.07 + 0.5;
	mat3 spin = mat3(cos(a), 0.0, sin(a), 0.0, 1.0, 0.0, -sin(a), 0.0, cos(a));
	mat3 tilt = mat3(1.0, 0.0, 0.0, 0.0, cos(b), sin(b), 0.0, -sin(b), cos(b));
	monolithTurn = spin * tilt;
}
