// One layer of the noise volume: three channels of smooth fractal noise, each the sum of four
// octaves of the 16-cell seed volume. The seed repeats and every octave's frequency is a whole
// multiple of it, so the finished volume repeats seamlessly too.
#version 130

uniform sampler3D t; // the seed: one random byte per cell, in red
uniform int a;       // the layer being written

out vec4 colour;

// The seed at a position in cells. The hardware's linear filter alone creases at every cell
// border; bending the position within its cell by a smoothstep first makes the value curve
// smooth across the borders, for the price of one fetch.
float cellNoise(vec3 cells)
{
	vec3 p = cells + 0.5;
	vec3 whole = floor(p);
	vec3 f = p - whole;
	f = f * f * (3.0 - 2.0 * f);
	return texture(t, (whole + f - 0.5) / 16.0).r;
}

// Four octaves from 16 to 128 cells across the volume, shifted apart so they do not line up.
float fractal(vec3 p, vec3 shift)
{
	float sum = 0.0;
	float weight = 0.5;
	float cells = 16.0;
	for (int i = 0; i < 4; i++)
	{
		sum += weight * cellNoise(p * cells + shift * float(i + 1));
		weight *= 0.5;
		cells *= 2.0;
	}
	// Sums of value noise gather around the middle: stretch them back over the range, and keep
	// off 0 so that no texel is black in all three channels.
	float n = (sum / 0.9375 - 0.5) * 2.2 + 0.5;
	return clamp(n, 0.02, 1.0);
}

void main()
{
	vec3 p = vec3(gl_FragCoord.xy, float(a) + 0.5) / 256.0;
	colour = vec4(fractal(p, vec3(0.0)), fractal(p.yzx, vec3(5.3, 1.7, 9.1)), fractal(p.zxy, vec3(2.9, 7.4, 3.6)), 1.0);
}
