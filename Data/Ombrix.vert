#version 130
// Ombrix: the full-screen rectangle passes through as clip coordinates; the fragment program
// builds the camera ray from the interpolated screen position.
out vec2 screenPosition;

void main()
{
	screenPosition = gl_Vertex.xy;
	gl_Position = vec4(gl_Vertex.xy, 0.0, 1.0);
}
