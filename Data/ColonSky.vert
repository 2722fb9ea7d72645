// Sky box of the column scene: the box around the column, in the camera's view.
#version 130

uniform mat4 Proj;
uniform mat4 View;

out vec2 skyCoord;
out vec3 tint;

void main()
{
	skyCoord = gl_MultiTexCoord0.st;
	tint = gl_Color.rgb;
	gl_Position = Proj * (View * gl_Vertex);
}
