// Sphere occlusion pass: how much of the sky one sphere hides from each visible surface point,
// accumulated over all spheres by a screen blend.
#version 130

uniform sampler2D PosTex;
uniform sampler2D NormalTex;
uniform mat4 Proj;
uniform vec3 EyePos;
uniform vec3 Pos;
uniform float Rad;
uniform float OcclusionRadius; // how far past its surface a sphere darkens, in diameters

// The radius drawn: a sphere the eye comes close to shrinks out of its way, so no sphere ever
// reaches the near plane or swallows the eye.
float clearRadius()
{
	float near = Proj[3][2] / (Proj[2][2] - 1.0);
	return min(Rad, max((distance(EyePos, Pos) - 1.6 * near) * 0.8, 0.0));
}

void main()
{
	// The pass draws with the targets' own viewport, so the fragment is exactly one texel.
	ivec2 texel = ivec2(gl_FragCoord.xy);
	vec3 normal = texelFetch(NormalTex, texel, 0).xyz;
	if (dot(normal, normal) < 0.25)
		discard; // no sphere here, only the sky

	float radius = clearRadius();
	vec3 toCentre = Pos - texelFetch(PosTex, texel, 0).xyz;
	float centreDistance = length(toCentre);
	float reach = radius * (1.0 + 2.0 * OcclusionRadius);
	// A point at the centre itself has no direction to the sphere: it skips this sphere.
	if (centreDistance >= reach || centreDistance < 1e-4)
		discard;

	// Cosine-weighted solid angle of the sphere seen from the point, faded out towards the reach
	// so the rectangle bounds can stop there.
	float cosine = max(dot(normal, toCentre / centreDistance), 0.0);
	float cover = min(radius * radius / (centreDistance * centreDistance), 1.0);
	// The reach meets the radius when OcclusionRadius is 0, where smoothstep is undefined: the
	// same curve written out stays 1 inside the sphere.
	float across = clamp((centreDistance - radius) / max(reach - radius, 1e-6), 0.0, 1.0);
	float fade = 1.0 - across * across * (3.0 - 2.0 * across);
	gl_FragColor = vec4(cosine * cover * fade);
}
