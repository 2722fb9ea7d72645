// Edges of the picture in Tex: a Sobel filter of its brightness, taps Spread apart, in 720ths
// of the picture's height so lines are as thick at every output size, but never closer than a
// pixel (small previews would lose their edges between the texels). The edges are tinted by
// Color and scaled by Strength; BackgroundMix adds the picture itself back underneath.
#version 130

uniform sampler2D Tex;
uniform vec2 Resolution;
uniform float Spread;
uniform float Strength;
uniform vec3 Color;
uniform float BackgroundMix;

in vec2 uv;
out vec4 colour;

// Taps stay on the picture's own texels: the targets repeat, and a tap past one edge would read
// the opposite edge and draw a bright line along the frame.
float brightnessAt(vec2 offset)
{
	vec2 halfTexel = 0.5 / vec2(textureSize(Tex, 0));
	return dot(texture(Tex, clamp(uv + offset, halfTexel, 1.0 - halfTexel)).rgb, vec3(0.3, 0.5, 0.2));
}

void main()
{
	vec2 tap = vec2(max(Spread * Resolution.y / 720.0, min(Spread, 1.0))) / Resolution;
	float tl = brightnessAt(vec2(-tap.x, tap.y));
	float t = brightnessAt(vec2(0.0, tap.y));
	float tr = brightnessAt(vec2(tap.x, tap.y));
	float l = brightnessAt(vec2(-tap.x, 0.0));
	float r = brightnessAt(vec2(tap.x, 0.0));
	float bl = brightnessAt(vec2(-tap.x, -tap.y));
	float b = brightnessAt(vec2(0.0, -tap.y));
	float br = brightnessAt(vec2(tap.x, -tap.y));
	float gx = (tr + 2.0 * r + br) - (tl + 2.0 * l + bl);
	float gy = (tl + 2.0 * t + tr) - (bl + 2.0 * b + br);
	// Where many lines crowd together the gradients add up; a soft limit keeps that a bright
	// mesh instead of a white blot.
	float edge = sqrt(gx * gx + gy * gy);
	edge = edge / (1.0 + 0.5 * edge);

	// The first pass adds no picture: it is not fetched.
	vec3 picture = vec3(0.0);
	if (BackgroundMix != 0.0)
		picture = texture(Tex, uv).rgb;
	colour = vec4(Color * (edge * Strength) + picture * BackgroundMix, 1.0);
}
