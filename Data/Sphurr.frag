// Sphere geometry pass: ray-casts one sphere per rectangle and writes the hit's world position,
// normal and reflected eye vector, with the hit's own depth so the nearest sphere wins.
#version 130

uniform mat4 Proj;
uniform mat4 View;
uniform mat4 ViewInverse;
uniform vec3 EyePos;
uniform vec3 Pos;
uniform float Rad;

in vec2 ndc;

// The radius drawn: a sphere the eye comes close to shrinks out of its way, so no sphere ever
// reaches the near plane or swallows the eye.
float clearRadius()
{
	float near = Proj[3][2] / (Proj[2][2] - 1.0);
	return min(Rad, max((distance(EyePos, Pos) - 1.6 * near) * 0.8, 0.0));
}

void main()
{
	// The eye ray through this pixel, from the perspective terms of the projection.
	vec3 viewRay = vec3((ndc.x + Proj[2][0]) / Proj[0][0], (ndc.y + Proj[2][1]) / Proj[1][1], -1.0);
	vec3 ray = normalize(mat3(ViewInverse) * viewRay);

	float radius = clearRadius();
	vec3 offset = EyePos - Pos;
	float b = dot(offset, ray);
	float c = dot(offset, offset) - radius * radius;
	float h = b * b - c;
	if (h < 0.0)
		discard;
	float distance = -b - sqrt(h);
	if (distance <= 0.0)
		discard; // the eye is inside the sphere or the sphere is behind it

	vec3 hit = EyePos + ray * distance;
	vec4 clip = Proj * (View * vec4(hit, 1.0));
	float depth = clip.z / clip.w;
	if (depth < -1.0)
		discard; // in front of the near plane

	gl_FragDepth = (gl_DepthRange.diff * depth + gl_DepthRange.near + gl_DepthRange.far) * 0.5;

	vec3 normal = (hit - Pos) / radius;
	// The composite has no eye position: the reflected eye vector carries how squarely the
	// surface faces the eye in its length, 1 at the silhouette to 2 head-on.
	float facing = clamp(-dot(normal, ray), 0.0, 1.0);
	gl_FragData[0] = vec4(hit, 1.0);
	gl_FragData[1] = vec4(normal, 0.0);
	gl_FragData[2] = vec4(reflect(ray, normal) * (1.0 + facing), 0.0);
}
