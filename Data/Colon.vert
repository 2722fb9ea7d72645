// Rings and tube bands of the column scene: world positions and colours, one matrix.
#version 130

uniform mat4 ProjViewWorld;

out vec4 colour;
out vec3 world;

void main()
{
	colour = gl_Color;
	world = gl_Vertex.xyz;
	gl_Position = ProjViewWorld * gl_Vertex;
}
