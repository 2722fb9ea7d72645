// Final pass over the scene: "Distortion" bends the picture like a heat ripple and a lens,
// "Distortion2" tears it into sliding horizontal bands with split colour, then flash, invert
// and desaturation, film grain and a soft vignette. "Mix" blends the result over the plain scene.
// The scene is read through an edge smoothing filter, so the ray-marched windows, cuts and lines
// do not step and crawl at the output's own size.
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

const vec3 lumaWeights = vec3(0.299, 0.587, 0.114);

// The picture averaged over two taps along an edge; with no edge (along is 0) the picture itself.
vec3 nearAlong(vec2 at, vec2 along)
{
	return 0.5 * (texture(Tex, at - along / 6.0).rgb + texture(Tex, at + along / 6.0).rgb);
}

// The picture at a point with its stair-stepped edges smoothed (after Lottes' FXAA): where the
// four diagonal neighbours differ enough, the edge's direction is read from them and the picture
// is averaged along it, never across. along says where the taps went (0 on flat parts) and near
// holds the two-tap average, so split colours can be read the same way and a line keeps one
// colour. Software renderers run every branch, so the taps are counted: nine here, two for each
// split colour.
vec3 smoothedScene(vec2 at, vec2 texel, out vec2 along, out vec3 near)
{
	vec3 middle = texture(Tex, at).rgb;
	float northWest = dot(texture(Tex, at + vec2(-texel.x, -texel.y)).rgb, lumaWeights);
	float northEast = dot(texture(Tex, at + vec2(texel.x, -texel.y)).rgb, lumaWeights);
	float southWest = dot(texture(Tex, at + vec2(-texel.x, texel.y)).rgb, lumaWeights);
	float southEast = dot(texture(Tex, at + vec2(texel.x, texel.y)).rgb, lumaWeights);
	float here = dot(middle, lumaWeights);
	float lowest = min(here, min(min(northWest, northEast), min(southWest, southEast)));
	float highest = max(here, max(max(northWest, northEast), max(southWest, southEast)));
	along = vec2(0.0);
	near = middle;
	// Faint steps are left alone: smoothing them only blurs the fine stripes and hairlines, and
	// at the output's own size the picture then shows less detail than the same one supersampled.
	if (highest - lowest < max(0.125, highest * 0.25))
		return middle;

	along = vec2((southWest + southEast) - (northWest + northEast), (northWest + southWest) - (northEast + southEast));
	float damping = max((northWest + northEast + southWest + southEast) * (0.25 / 8.0), 1.0 / 128.0);
	along = clamp(along / (min(abs(along.x), abs(along.y)) + damping), -8.0, 8.0) * texel;
	near = nearAlong(at, along);
	vec3 wide = 0.5 * near + 0.25 * (texture(Tex, at - along * 0.5).rgb + texture(Tex, at + along * 0.5).rgb);
	// The wide average may reach past the edge into another surface: then the near one.
	float wideLuma = dot(wide, lumaWeights);
	return wideLuma < lowest || wideLuma > highest ? near : wide;
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
	vec2 size = vec2(textureSize(Tex, 0));
	vec2 along;
	vec3 near;
	vec3 processed = smoothedScene(sampleUv, 1.0 / size, along, near);
	if (split.x != 0.0)
		processed = vec3(nearAlong(sampleUv + split, along).r, near.g, nearAlong(sampleUv - split, along).b);

	processed += vec3(Flash);
	processed = mix(processed, 1.0 - clamp(processed, 0.0, 1.0), Invert);
	float luma = dot(processed, lumaWeights);
	processed = mix(processed, vec3(luma), clamp(Desaturation, 0.0, 1.0));

	// The grain belongs to the picture, not to the screen: one grain per 720th of the height, so
	// it looks the same at every output size (and a pixel each below 720 lines).
	float grainsPerPixel = min(720.0 / size.y, 1.0);
	vec2 grainCell = floor(gl_FragCoord.xy * grainsPerPixel);
	float grain = hash(grainCell * vec2(0.7914, 1.4069) + fract(Time * 7.31) * 97.0) - 0.5;
	processed += grain * 0.035;
	float vignette = 1.0 - 0.45 * dot(centred * vec2(1.1, 1.3), centred * vec2(1.1, 1.3));
	processed *= vignette;

	// At full strength the plain scene would be weighed by 0: it is not fetched.
	vec3 scene = processed;
	if (Mix != 1.0)
		scene = texture(Tex, uv).rgb;
	colour = vec4(mix(scene, processed, Mix), 1.0);
}
