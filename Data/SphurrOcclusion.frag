// Sphere occlusion pass: how much of the sky one sphere hides from each visible surface point,
// accumulated over all spheres by a screen blend.
#version 130

uniform sampler2D PosTex;
uniform sampler2D NormalTex;
uniform vec3 Pos;
uniform float Rad;
uniform float OcclusionRadius;

void main()
{
	// The pass draws with the targets' own viewport, so the fragment is exactly one texel.
	ivec2 texel = ivec2(gl_FragCoord.xy);
	vec3 normal = texelFetch(NormalTex, texel, 0).xyz;
	if (dot(normal, normal) < 0.25)
		discard; // no sphere here, only the sky

	vec3 toCentre = Pos - texelFetch(PosTex, texel, 0).xyz;
	float distance = length(toCentre);
	float reach = Rad / OcclusionRadius;
	// A point at the centre itself has no direction to the sphere: it skips this sphere.
	if (distance >= reach || distance < 1e-4)
		discard;

	// Cosine-weighted solid angle of the sphere seen from the point, faded out towards the reach
	// so the rectangle bounds can stop there.
	float cosine = max(dot(normal, toCentre / distance), 0.0);
	float cover = min(Rad * Rad / (distance * distance), 1.0);
	float fade = 1.0 - smoothstep(Rad, reach, distance);
	gl_FragColor = vec4(cosine * cover * fade);
}
