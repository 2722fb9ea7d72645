#include "Skies.h"

#include "Noise.h"
#include "StarField.h"

#include <cmath> // Required for: std::exp, std::pow, std::fabs, std::sqrt

namespace
{
	const StarField faintStars(64, 0.22f, 0.075f, 11u);
	const StarField brightStars(24, 0.16f, 0.06f, 12u);

	// Weight of the horizon glow: 1 at the horizon, fading upwards over a few degrees and
	// faster below it.
	float horizonGlow(float elevation, float above, float below)
	{
		return elevation >= 0.0f ? std::exp(-elevation * above) : std::exp(elevation * below);
	}
}

Vec3 nightSky(Vec3 d)
{
	const float elevation = d.y;
	const Vec3 zenith(0.003f, 0.006f, 0.018f);
	const Vec3 lowSky(0.012f, 0.024f, 0.065f);
	Vec3 colour = mix(lowSky, zenith, std::sqrt(clamp01(elevation)));

	// Towards -z the horizon burns amber; it fades to a cool blue glow behind the viewer.
	const float horizontalLength = std::sqrt(d.x * d.x + d.z * d.z) + 1e-6f;
	const float facing = 0.5f - 0.5f * d.z / horizontalLength;
	const float warmth = std::pow(facing, 2.5f);
	const Vec3 warmGlow(0.62f, 0.27f, 0.07f);
	const Vec3 coolGlow(0.03f, 0.07f, 0.14f);
	const Vec3 glowColour = mix(coolGlow, warmGlow, warmth);
	colour += glowColour * (horizonGlow(elevation, 9.0f, 30.0f) * (0.45f + 0.55f * warmth));
	colour += warmGlow * (0.25f * warmth * horizonGlow(elevation, 2.5f, 12.0f) * warmth);

	// A band of nebula across the sky along a tilted great circle, broken up by noise.
	const Vec3 bandNormal = normalize(Vec3(0.35f, 0.55f, 0.76f));
	const float across = dot(d, bandNormal);
	const float band = std::exp(-across * across * 9.0f);
	const float aboveHorizon = smoothstep(-0.05f, 0.25f, elevation);
	float density = 0.0f;
	if (band * aboveHorizon > 0.002f)
	{
		const float clouds = Noise::fractal(d * 2.3f + Vec3(3.1f, 1.7f, 5.3f), 5, 21u);
		const float wisps = Noise::fractal(d * 5.5f + Vec3(1.3f, 7.1f, 2.9f), 3, 22u);
		density = clamp01((clouds * 1.6f + 0.35f) * band + wisps * 0.25f * band);
		const float dust = clamp01(Noise::fractal(d * 7.0f, 2, 23u) * 2.0f + 0.2f);
		const Vec3 nebulaDeep(0.05f, 0.035f, 0.13f);
		const Vec3 nebulaCyan(0.02f, 0.11f, 0.15f);
		const Vec3 nebula = mix(nebulaDeep, nebulaCyan, clamp01(clouds * 2.0f + 0.5f));
		colour += nebula * (density * (0.4f + 0.6f * dust) * aboveHorizon * 1.6f);
	}

	// Stars, dimmed into the haze near the horizon and hidden below it.
	const float starVisibility = smoothstep(0.0f, 0.3f, elevation) * (1.0f - 0.5f * density);
	colour += (faintStars.light(d) * 0.55f + brightStars.light(d)) * starVisibility;

	// The ground below the horizon: near black with a little of the glow's warmth.
	if (elevation < 0.0f)
		colour = colour * (1.0f - smoothstep(0.0f, -0.5f, elevation) * 0.7f);
	return colour;
}

Vec3 environmentSky(Vec3 d)
{
	const float elevation = d.y;
	const Vec3 zenith(0.05f, 0.09f, 0.2f);
	const Vec3 lowSky(0.09f, 0.13f, 0.24f);
	const Vec3 ground(0.035f, 0.03f, 0.035f);
	Vec3 colour = elevation >= 0.0f ? mix(lowSky, zenith, std::sqrt(elevation))
		: mix(lowSky * 0.6f, ground, smoothstep(0.0f, -0.4f, elevation));

	// Horizon glow: warm towards +x, cooler towards -x.
	const float side = 0.5f + 0.5f * d.x;
	const Vec3 glowColour = mix(Vec3(0.12f, 0.16f, 0.24f), Vec3(0.85f, 0.42f, 0.13f), side * side);
	colour += glowColour * horizonGlow(elevation, 5.0f, 14.0f);

	// Two broad light sources: a warm amber key low on the +x side, a cool cyan rim high on -x.
	const Vec3 keyDirection = normalize(Vec3(1.0f, 0.22f, 0.0f));
	const Vec3 rimDirection = normalize(Vec3(-0.6f, 0.75f, 0.0f));
	const float key = std::pow(clamp01(dot(d, keyDirection)), 24.0f);
	const float rim = std::pow(clamp01(dot(d, rimDirection)), 10.0f);
	colour += Vec3(1.6f, 0.78f, 0.3f) * key + Vec3(0.25f, 0.6f, 0.8f) * rim;

	// Slow clouds; z enters squared so the picture mirrors exactly across z = 0.
	const Vec3 mirrored(d.x * 1.6f, d.y * 1.6f, d.z * d.z * 1.6f);
	const float clouds = Noise::fractal(mirrored, 3, 31u);
	colour = colour * (0.85f + 0.5f * clouds);
	return colour;
}

Vec3 columnSky(Vec3 d)
{
	const float elevation = d.y;
	float level = 0.32f + 0.18f * clamp01(elevation);
	level += 0.55f * horizonGlow(elevation, 6.0f, 8.0f);
	if (elevation < 0.0f)
		level *= 1.0f - 0.65f * smoothstep(0.0f, -0.6f, elevation);

	// Layered clouds, stretched along the horizon.
	const Vec3 stretched(d.x * 2.0f, d.y * 5.0f, d.z * 2.0f);
	const float clouds = Noise::fractal(stretched + Vec3(4.0f, 0.0f, 9.0f), 4, 41u);
	const float detail = Noise::fractal(d * 9.0f, 2, 42u);
	level *= 0.75f + 0.9f * clamp01(clouds + 0.45f) + 0.15f * detail;

	// A soft light straight above the column.
	level += 0.5f * std::pow(clamp01(elevation), 6.0f);
	return Vec3(level, level, level);
}
