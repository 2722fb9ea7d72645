// A slice (uv 0..1 over its 24 x 8 units) or a ring (u 0..5 around, v 0..1 across) as a faint
// plate carrying a grid of square cells: the noise volume, read once per cell, lights some of
// them. The cells slide with Scroll and keep their state as they go, so the edges found later
// are clean squares moving across the plates, not a boil of noise. Drawn additively.
#version 130

uniform sampler3D NoiseTex;
uniform float NoiseTexTime; // each slice reads its own depth of the volume
uniform vec2 Scroll;

in vec2 uv;
in float shade;
in float depth;

out vec4 colour;

void main()
{
	// Cells two units square on a slice.
	vec2 grid = uv * vec2(12.0, 4.0) + Scroll * 2.0;
	vec2 cell = floor(grid);
	vec2 inCell = grid - cell;
	vec3 n = texture(NoiseTex, vec3((cell + 0.5) / 64.0, NoiseTexTime)).rgb;

	// A lit cell is a square with a gap around it; a few are brighter still.
	vec2 gap = step(vec2(0.14), inCell) * step(inCell, vec2(0.86));
	float lit = step(0.68, n.r) * gap.x * gap.y * (1.0 + 1.5 * step(0.7, n.g));

	// Far away, outlines would pile up into a white blot at the vanishing point: the distant
	// plates emerge from the dark, plain, and their detail grows as they come closer.
	// smoothstep wants its edges rising, so the falling curves are written as one minus a rise.
	float reach = 1.0 - smoothstep(30.0, 150.0, depth);
	float detail = 1.0 - smoothstep(8.0, 45.0, depth);

	// A bright rim along the long sides gives every plate and ring a clear outline.
	float rim = 1.0 - step(0.04, uv.y) * step(uv.y, 0.96);

	colour = vec4(vec3(shade * reach * (0.3 + (rim + lit * 2.0) * detail)), 1.0);
}
