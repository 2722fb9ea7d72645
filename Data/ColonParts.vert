// Floating sprites of the column scene: each arrives as its centre four times with the corner
// as texture coordinate, and is spread into a square facing the camera. The corners are offset
// in view space, so the sprites stay round at every aspect ratio.
#version 130

uniform mat4 Proj;
uniform mat4 View;

out vec2 corner;
out vec3 colour;

void main()
{
	vec4 centre = View * gl_Vertex;
	float depth = max(-centre.z, 0.01);

	// Far away a sprite keeps about a pixel of size and gives up brightness instead, so distant
	// ones glimmer rather than flicker; the blend squares the colour, so it scales with 1 / size.
	float size = max(0.3, depth * 0.003);
	colour = gl_Color.rgb * (0.3 / size) * smoothstep(0.5, 4.0, depth);

	corner = gl_MultiTexCoord0.st * 2.0 - 1.0;
	centre.xy += corner * size;
	gl_Position = Proj * centre;
}
