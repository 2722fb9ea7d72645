// Blur at 128 x 128: a round kernel (centre plus two rings of taps) instead of separate
// horizontal and vertical passes, since no pass is told a direction. "Delta" scales the radius:
// wide passes spread the glow, narrow ones smooth away the ring pattern.
#version 130

uniform sampler2D Tex;
uniform float Delta;

in vec2 uv;
out vec4 colour;

void main()
{
	vec2 texel = Delta / vec2(textureSize(Tex, 0));
	vec4 sum = texture(Tex, uv) * 0.2;
	for (int i = 0; i < 8; i++)
	{
		float angle = float(i) * 0.785398;
		// The outer ring is turned by half a step so its taps fall between the inner ones.
		vec2 inner = vec2(cos(angle), sin(angle)) * 1.5;
		vec2 outer = vec2(cos(angle + 0.392699), sin(angle + 0.392699)) * 3.5;
		sum += texture(Tex, uv + inner * texel) * 0.06;
		sum += texture(Tex, uv + outer * texel) * 0.04;
	}
	colour = sum;
}
