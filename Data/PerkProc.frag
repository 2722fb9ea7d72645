// Final pass over the scene: "Distortion" bends the picture like a heat ripple and a lens,
// "Distortion2" tears it into sliding horizontal bands with split colour, then flash, invert
// and desaturation, film grain and a soft vignette. "Mix" blends the result over the plain scene.
#version 130

uniform sampler2D Tex;
uniform float Time;
uniform float Distortion;
uniform float Distortion2;
uniform float Flash;
uniform float Mix;
uniform float Invert;
uniform float Desaturation;

in vec2 uv;
out vec4 colour;

float hash(vec2 p)
{
	p = fract(p * vec2(443.897, 441.423));
	p += dot(p, p.yx + 19.19);
	return fract((p.x + p.y) * p.x);
}

void main()
{
	vec2 centred = uv - 0.5;

	// Lens bulge and a travelling ripple. The bulge is scaled so the corners stay in place and the
	// picture never shows its own edge.
	float bulge = Distortion * 0.35;
	vec2 bent = centred * (1.0 + bulge * dot(centred, centred)) / (1.0 + bulge * 0.5);
	bent += Distortion * 0.012 * vec2(sin(uv.y * 37.0 + Time * 5.3), cos(uv.x * 29.0 - Time * 4.1));

	// Horizontal bands that slide sideways; the same band offsets red and blue apart.
	float band = floor(uv.y * 24.0);
	float tear = hash(vec2(band, floor(Time * 15.0))) - 0.5;
	tear *= step(0.55, hash(vec2(band * 1.7, floor(Time * 7.0))));
	bent.x += Distortion2 * 0.08 * tear;
	vec2 split = vec2(Distortion2 * 0.012 + Distortion * 0.003, 0.0);

	vec2 sampleUv = clamp(bent + 0.5, 0.0, 1.0);
	vec3 processed = texture(Tex, sampleUv).rgb;
	// Most of the show has no split: then one fetch serves all three channels.
	if (split.x != 0.0)
	{
		processed.r = texture(Tex, sampleUv + split).r;
		processed.b = texture(Tex, sampleUv - split).b;
	}

	processed += vec3(Flash);
	processed = mix(processed, 1.0 - clamp(processed, 0.0, 1.0), Invert);
	float luma = dot(processed, vec3(0.299, 0.587, 0.114));
	processed = mix(processed, vec3(luma), clamp(Desaturation, 0.0, 1.0));

	float grain = hash(uv * 1013.0 + fract(Time * 7.31) * 97.0) - 0.5;
	processed += grain * 0.035;
	float vignette = 1.0 - 0.45 * dot(centred * vec2(1.1, 1.3), centred * vec2(1.1, 1.3));
	processed *= vignette;

	// At full strength the plain scene would be weighed by 0: it is not fetched.
	vec3 scene = processed;
	if (Mix != 1.0)
		scene = texture(Tex, uv).rgb;
	colour = vec4(mix(scene, processed, Mix), 1.0);
}
