// Rings and tube bands of the column scene, added to the picture as glowing glass: lines at full
// strength; filled sectors and bands as a faint body with hairlines (concentric on the flat
// rings, stacked on the upright tube), so the column reads as fine structure, not flat sheets.
#version 130

in vec4 colour;
in vec3 world;

const float wireWidth = 0.05;

// 1 on lines of value at multiples of spacing, about a pixel wide, 0 between them.
float hairline(float value, float spacing)
{
	float v = value / spacing;
	float perPixel = max(fwidth(v), 1e-4);
	float distance = abs(fract(v + 0.5) - 0.5) / perPixel;
	float line = 1.0 - smoothstep(0.0, 1.2, distance);
	return mix(line, min(1.2 * perPixel, 1.0), smoothstep(0.12, 0.35, perPixel));
}

void main()
{
	// A line's position varies along it only, so the two screen derivatives are parallel there;
	// on a surface they span it, and their cross product is its normal.
	vec3 dx = dFdx(world);
	vec3 dy = dFdy(world);
	vec3 n = cross(dx, dy);
	float area = length(n);
	float surface = smoothstep(0.05, 0.25, area / max(length(dx) * length(dy), 1e-20));
	float upright = 1.0 - abs(n.y) / max(area, 1e-20);

	float pattern = mix(hairline(length(world.xz), 1.0), hairline(world.y, 0.75), upright);

	// A line is a wire of a fixed width in the world: where it is thinner than the pixel it
	// crosses it gives up brightness for coverage instead of stepping and crawling at full strength.
	float perPixel = max(max(length(dx), length(dy)), 1e-6);
	float line = 1.7 * sqrt(min(wireWidth / perPixel, 1.0));
	float strength = mix(line, 0.5 + 1.1 * pattern, surface);

	// Sheets right in front of the eye fade out instead of filling the lens.
	float depth = 1.0 / gl_FragCoord.w;
	strength *= smoothstep(1.5, 14.0, depth);

	// The blend squares this colour as it adds it.
	gl_FragColor = vec4(colour.rgb * strength, colour.a);
}
