// Sphere geometry pass: the full-screen rectangle drawn for one sphere shrinks to the sphere's
// projected bounds, so ray casting pays only for the pixels the sphere can cover.
#version 130

uniform mat4 Proj;
uniform mat4 View;
uniform vec3 EyePos;
uniform vec3 Pos;
uniform float Rad;

out vec2 ndc;

// Normalised device coordinate of the view-space direction (x, y, -1) along one axis.
float project(vec2 slope, int axis)
{
	vec4 clip = Proj * vec4(slope, -1.0, 1.0);
	return axis == 0 ? clip.x / clip.w : clip.y / clip.w;
}

// The radius drawn: a sphere the eye comes close to shrinks out of its way, so no sphere ever
// reaches the near plane or swallows the eye.
float clearRadius()
{
	float near = Proj[3][2] / (Proj[2][2] - 1.0);
	return min(Rad, max((distance(EyePos, Pos) - 1.6 * near) * 0.8, 0.0));
}

// Screen bounds (min x, min y, max x, max y) of a sphere of radius r about the view-space point c:
// the planes through the eye tangent to the sphere, one pair per axis. A sphere behind the near
// plane gets an empty rectangle; one that straddles it keeps the whole screen (clearRadius keeps
// that from happening, the test stays as a guard).
vec4 sphereBounds(vec3 c, float r)
{
	float near = Proj[3][2] / (Proj[2][2] - 1.0);
	float depth = -c.z;
	if (depth + r < near)
		return vec4(2.0);
	if (depth - r < near * 1.01)
		return vec4(-1.0, -1.0, 1.0, 1.0);

	float depthSquared = depth * depth - r * r;
	vec2 spread = r * sqrt(max(c.xy * c.xy + depthSquared, 0.0));
	vec2 low = (c.xy * depth - spread) / depthSquared;
	vec2 high = (c.xy * depth + spread) / depthSquared;
	vec4 bounds = vec4(project(vec2(low.x, 0.0), 0), project(vec2(0.0, low.y), 1),
		project(vec2(high.x, 0.0), 0), project(vec2(0.0, high.y), 1));
	// A pixel of margin against rounding at the silhouette.
	return clamp(bounds + vec4(-0.01, -0.01, 0.01, 0.01), -1.0, 1.0);
}

void main()
{
	float radius = clearRadius();
	vec4 bounds = radius > 0.0 ? sphereBounds((View * vec4(Pos, 1.0)).xyz, radius) : vec4(2.0);
	ndc = mix(bounds.xy, bounds.zw, gl_Vertex.xy * 0.5 + 0.5);
	gl_Position = vec4(ndc, 0.0, 1.0);
}
