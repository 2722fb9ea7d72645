// Composite into the window: the sharp picture weighted by "BgIntensity", and a glow made of
// the blurred picture (bright parts stronger than dim ones) seen through the bokeh image.
// A screen blend keeps the sum below white, so a strong bloom brightens without washing out.
#version 130

uniform sampler2D Tex;
uniform sampler2D BlurTex;
uniform sampler2D BokehTex;
uniform vec2 Resolution;
uniform float Intensity;
uniform float BgIntensity;

in vec2 uv;
out vec4 colour;

void main()
{
	vec3 sharp = texture(Tex, uv).rgb * BgIntensity;
	vec3 blur = texture(BlurTex, uv).rgb;

	// The bokeh image keeps its proportions on every output size: it is cropped, never stretched.
	vec2 bokehSize = vec2(textureSize(BokehTex, 0));
	float screenAspect = Resolution.x / Resolution.y;
	float bokehAspect = bokehSize.x / bokehSize.y;
	vec2 bokehUv = uv - 0.5;
	if (screenAspect > bokehAspect)
		bokehUv.y *= bokehAspect / screenAspect;
	else
		bokehUv.x *= screenAspect / bokehAspect;
	vec3 bokeh = texture(BokehTex, vec2(bokehUv.x + 0.5, 0.5 - bokehUv.y)).rgb;

	float brightness = dot(blur, vec3(0.299, 0.587, 0.114));
	vec3 glow = blur * (0.35 + 1.6 * brightness) * Intensity;
	glow *= 0.55 + 0.9 * bokeh;
	vec3 result = 1.0 - (1.0 - clamp(sharp, 0.0, 1.0)) * (1.0 - clamp(glow, 0.0, 1.0));
	colour = vec4(result, 1.0);
}
