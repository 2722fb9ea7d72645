#include "Skies.h"

#include "Noise.h"
#include "StarField.h"

#include <algorithm> // Required for: std::max
#include <cmath>     // Required for: std::exp, std::fabs, std::pow, std::sqrt

namespace
{
	const StarField faintStars(64, 0.22f, 0.075f, 11u);
	const StarField brightStars(24, 0.16f, 0.06f, 12u);

	// Pictures hold the square root of light (a gamma of 2, close to a photograph's), so dark
	// skies keep their detail in 8 bits; a shader squares what it reads to get light back.
	Vec3 encodeLight(Vec3 light)
	{
		return { std::sqrt(std::max(light.x, 0.0f)), std::sqrt(std::max(light.y, 0.0f)), std::sqrt(std::max(light.z, 0.0f)) };
	}

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
	const Vec3 zenith(0.0012f, 0.0025f, 0.009f);
	const Vec3 lowSky(0.012f, 0.022f, 0.06f);
	Vec3 light = mix(lowSky, zenith, std::sqrt(clamp01(elevation)));

	// The low sun towards -z: a wide warm halo, and the horizon burning amber beneath it,
	// cooling to blue behind the viewer.
	const Vec3 sunDirection = normalize(Vec3(-0.25f, 0.3f, -0.92f));
	const float towardsSun = clamp01(dot(d, sunDirection));
	const Vec3 amber(1.0f, 0.42f, 0.12f);
	light += amber * (0.05f * std::pow(towardsSun, 6.0f) + 0.18f * std::pow(towardsSun, 40.0f));
	const float horizontalLength = std::sqrt(d.x * d.x + d.z * d.z) + 1e-6f;
	const float sunHorizontalLength = std::sqrt(sunDirection.x * sunDirection.x + sunDirection.z * sunDirection.z);
	const float facing = 0.5f + 0.5f * (d.x * sunDirection.x + d.z * sunDirection.z) / (horizontalLength * sunHorizontalLength);
	const float warmth = std::pow(facing, 3.0f);
	const Vec3 coolGlow(0.02f, 0.05f, 0.12f);
	const Vec3 glowColour = mix(coolGlow, amber * 0.5f, warmth);
	light += glowColour * (horizonGlow(elevation, 10.0f, 40.0f) * (0.4f + 0.6f * warmth));
	light += amber * (0.06f * warmth * warmth * horizonGlow(elevation, 3.0f, 20.0f));

	// A band of nebula across the sky along a tilted great circle, broken up by noise.
	const Vec3 bandNormal = normalize(Vec3(0.35f, 0.55f, 0.76f));
	const float across = dot(d, bandNormal);
	const float band = std::exp(-across * across * 7.0f);
	const float aboveHorizon = smoothstep(-0.05f, 0.2f, elevation);
	float density = 0.0f;
	if (band * aboveHorizon > 0.002f)
	{
		const float clouds = Noise::fractal(d * 2.3f + Vec3(3.1f, 1.7f, 5.3f), 5, 21u);
		const float wisps = Noise::fractal(d * 5.5f + Vec3(1.3f, 7.1f, 2.9f), 3, 22u);
		density = clamp01((clouds * 1.8f + 0.3f + wisps * 0.5f) * band);
		const float dust = clamp01(Noise::fractal(d * 7.0f, 2, 23u) * 2.5f + 0.35f);
		const Vec3 nebulaViolet(0.03f, 0.018f, 0.07f);
		const Vec3 nebulaCyan(0.008f, 0.05f, 0.07f);
		const Vec3 nebula = mix(nebulaViolet, nebulaCyan, clamp01(clouds * 2.5f + 0.5f));
		light += nebula * (density * density * (0.3f + 0.7f * dust) * aboveHorizon * 2.5f);
	}

	// Stars, thinned by the haze near the horizon and hidden below it.
	const float starVisibility = smoothstep(0.0f, 0.35f, elevation) * (1.0f - 0.4f * density);
	const Vec3 stars = faintStars.light(d) * 0.25f + brightStars.light(d) * 0.8f;
	light += stars * (starVisibility * 0.5f);

	// The ground below the horizon: near black, lit only by the glow along its edge.
	if (elevation < 0.0f)
		light = light * (1.0f - smoothstep(0.0f, -0.25f, elevation) * 0.93f);
	return encodeLight(light);
}

Vec3 environmentSky(Vec3 d)
{
	const float elevation = d.y;
	const Vec3 zenith(0.012f, 0.03f, 0.08f);
	const Vec3 lowSky(0.04f, 0.065f, 0.13f);
	const Vec3 ground(0.004f, 0.004f, 0.006f);
	Vec3 light = elevation >= 0.0f ? mix(lowSky, zenith, std::sqrt(elevation))
		: mix(lowSky * 0.5f, ground, smoothstep(0.0f, -0.35f, elevation));

	// Horizon glow: warm towards +x, cooler towards -x.
	const float side = 0.5f + 0.5f * d.x;
	const Vec3 glowColour = mix(Vec3(0.03f, 0.06f, 0.12f), Vec3(0.7f, 0.3f, 0.08f), side * side);
	light += glowColour * horizonGlow(elevation, 6.0f, 16.0f);

	// Two long soft lights for the spheres to mirror, running along z like studio strips: a
	// warm amber key low on the +x side, a cool cyan rim high on -x. They change little along
	// z: the 2D sky box drawn from this file stretches its side faces a little along z, and
	// slow change there keeps its edges invisible.
	const float acrossLength = std::sqrt(d.x * d.x + d.y * d.y) + 1e-6f;
	const float keyFacing = clamp01((d.x * 0.977f + d.y * 0.215f) / acrossLength);
	const float rimFacing = clamp01((d.x * -0.625f + d.y * 0.781f) / acrossLength);
	const float alongFade = 1.0f - 0.35f * d.z * d.z;
	const float key = std::pow(keyFacing, 70.0f) * acrossLength * alongFade;
	const float rim = std::pow(rimFacing, 20.0f) * acrossLength * alongFade;
	light += Vec3(1.8f, 0.75f, 0.22f) * key + Vec3(0.08f, 0.35f, 0.55f) * rim;

	// Slow clouds; z enters squared, and weakly, so the picture mirrors exactly across z = 0.
	const Vec3 mirrored(d.x * 1.6f, d.y * 1.6f, d.z * d.z * 0.5f);
	const float clouds = Noise::fractal(mirrored, 3, 31u);
	return encodeLight(light * (0.8f + 0.7f * clouds));
}

Vec3 columnSky(Vec3 d)
{
	const float elevation = d.y;
	const float haze = horizonGlow(elevation, 7.0f, 9.0f);
	float level = 0.3f + 0.15f * clamp01(elevation) + 0.6f * haze;

	// A cloud deck overhead, seen in perspective: the noise is laid on a plane above the
	// viewer, so its features crowd towards the horizon, where the haze swallows them.
	const float lift = std::fabs(elevation) + 0.12f;
	const Vec3 onDeck(d.x / lift * 0.9f, d.z / lift * 0.9f, elevation >= 0.0f ? 0.5f : 7.5f);
	const float clouds = Noise::fractal(onDeck, 5, 41u);
	const float cover = smoothstep(-0.2f, 0.35f, clouds);
	const float deck = elevation >= 0.0f ? 1.0f : 0.45f;
	level *= 1.0f + (cover * 0.9f - 0.35f) * deck * (1.0f - haze * 0.8f);

	// Darker below the horizon; a soft light straight above the column.
	if (elevation < 0.0f)
		level *= 1.0f - 0.6f * smoothstep(0.0f, -0.5f, elevation);
	level += 0.45f * std::pow(clamp01(elevation), 8.0f);
	return Vec3(level, level, level);
}
