// Lines of the picture in Tex: where a texel stands out above the mean of its eight neighbours,
// taps Spread apart (in 720ths of the picture's height, never closer than a pixel). Unlike a
// gradient this gives one line per edge both on the plates' steps and on lines already found,
// so the second pass retraces the first pass's lines instead of outlining both their sides.
// The lines are tinted by Color and scaled by Strength.
//
// Each pass also hands the brightness of its own input on in alpha, so the second pass still
// knows the plates behind the first pass's lines. Where BackgroundMix is not 0 those lines and the
// plates, as fog, lie under the new lines, over a blue-black haze deepening away from the
// vanishing point that BackgroundMix lights.
#version 130

uniform sampler2D Tex;
uniform vec2 Resolution;
uniform float Spread;
uniform float Strength;
uniform vec3 Color;
uniform float BackgroundMix;

in vec2 uv;
out vec4 colour;

const vec3 brightnessWeights = vec3(0.3, 0.5, 0.2);

// Taps stay on the picture's own texels: the targets repeat, and a tap past one edge would read
// the opposite edge and draw a bright line along the frame.
float brightnessAt(vec2 offset)
{
	vec2 halfTexel = 0.5 / vec2(textureSize(Tex, 0));
	return dot(texture(Tex, clamp(uv + offset, halfTexel, 1.0 - halfTexel)).rgb, brightnessWeights);
}

void main()
{
	vec2 tap = vec2(max(Spread * Resolution.y / 720.0, min(Spread, 1.0))) / Resolution;
	vec4 centre = texture(Tex, uv);
	float here = dot(centre.rgb, brightnessWeights);
	float around = brightnessAt(vec2(-tap.x, tap.y)) + brightnessAt(vec2(0.0, tap.y)) + brightnessAt(vec2(tap.x, tap.y))
		+ brightnessAt(vec2(-tap.x, 0.0)) + brightnessAt(vec2(tap.x, 0.0))
		+ brightnessAt(vec2(-tap.x, -tap.y)) + brightnessAt(vec2(0.0, -tap.y)) + brightnessAt(vec2(tap.x, -tap.y));
	float edge = max(here - around * 0.125, 0.0) * 10.0;
	// Where many lines crowd together they add up; a soft limit keeps that a bright mesh
	// instead of a white blot.
	edge = edge / (1.0 + edge);

	vec3 background = vec3(0.0);
	if (BackgroundMix != 0.0)
	{
		// The plates: thin where one stands alone, a warm glow where many overlap far ahead.
		float plates = 1.0 - exp(-1.5 * centre.a);
		vec3 fog = mix(vec3(0.04, 0.09, 0.16), vec3(0.4, 0.2, 0.08), plates * plates) * plates;
		// The air of the corridor, lit by BackgroundMix: it fills the dark between the lines and
		// stays out of the bright parts, so a lift on the beat never becomes a flash there.
		vec2 fromCentre = (uv - 0.5) * vec2(Resolution.x / Resolution.y, 1.0);
		vec3 haze = mix(vec3(0.13, 0.16, 0.25), vec3(0.1, 0.13, 0.23), smoothstep(0.0, 0.9, length(fromCentre)));
		background = centre.rgb + fog;
		float covered = min(dot(background, brightnessWeights) * 2.0, 1.0);
		background += haze * (0.08 + BackgroundMix) * (1.0 - covered);
	}
	colour = vec4(Color * (edge * Strength) + background, here);
}
