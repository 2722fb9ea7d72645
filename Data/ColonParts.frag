// Floating sprites of the column scene: a soft round glow with a bright core.
#version 130

in vec2 corner;
in vec3 colour;

void main()
{
	float d2 = dot(corner, corner);
	if (d2 > 1.0)
		discard;
	float falloff = 1.0 - d2;
	gl_FragColor = vec4(colour * (exp(-d2 * 9.0) + 0.4 * falloff * falloff), 1.0);
}
