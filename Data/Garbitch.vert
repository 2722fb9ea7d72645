// The corridor's slices and rings: positions through the slice's matrices, the grey brightness
// and the pattern coordinates through the fixed-function channels.
#version 130

uniform mat4 ViewWorld;
uniform mat4 ProjViewWorld;

out vec2 uv;
out float shade;
out float depth; // how far ahead of the camera, in world units

void main()
{
	uv = gl_MultiTexCoord0.xy;
	shade = gl_Color.r;
	depth = -(ViewWorld * gl_Vertex).z;
	gl_Position = ProjViewWorld * gl_Vertex;
}
