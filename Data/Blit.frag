// Downsample: four bilinear taps around the target texel average a box of the larger source,
// so bright pixels are not lost between texel centres when the picture shrinks.
#version 130

uniform sampler2D Tex;
uniform float Width;
uniform float Height;

in vec2 uv;
out vec4 colour;

void main()
{
	vec2 quarter = 0.25 / vec2(Width, Height);
	colour = 0.25 * (texture(Tex, uv + vec2(-quarter.x, -quarter.y))
		+ texture(Tex, uv + vec2(quarter.x, -quarter.y))
		+ texture(Tex, uv + vec2(-quarter.x, quarter.y))
		+ texture(Tex, uv + vec2(quarter.x, quarter.y)));
}
