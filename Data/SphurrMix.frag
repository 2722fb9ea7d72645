// Sphere composite: glossy spheres over the sky from the geometry and occlusion targets,
// lit by the environment cube, a warm key light and a cool rim.
#version 130

uniform sampler2D PosTex;
uniform sampler2D RefEyeTex;
uniform sampler2D OcclusionTex;
uniform samplerCube EnvTex;

in vec2 uv;

const vec3 amber = vec3(1.0, 0.55, 0.18);
const vec3 cyan = vec3(0.25, 0.85, 1.0);
const vec3 keyDirection = vec3(0.48, 0.78, 0.40);

void main()
{
	vec3 reflected = texture(RefEyeTex, uv).xyz;
	float size = length(reflected);
	if (size < 0.5)
		discard; // no sphere: the sky stays

	vec3 direction = reflected / size;
	float facing = clamp(size - 1.0, 0.0, 1.0);
	float grazing = 1.0 - facing;
	vec3 position = texture(PosTex, uv).xyz;
	float open = 1.0 - texture(OcclusionTex, uv).r;

	// Deep lacquer: near the centre of the scene amber, further out a cool blue-grey.
	float radial = smoothstep(4.0, 15.0, length(position));
	vec3 lacquer = mix(vec3(0.24, 0.08, 0.02), vec3(0.015, 0.04, 0.08), radial);

	vec3 environment = texture(EnvTex, direction).rgb;
	float fresnel = 0.06 + 0.94 * pow(grazing, 4.0);
	float sky = direction.y * 0.5 + 0.5;

	vec3 colour = lacquer * (0.35 + 0.65 * sky) * open;
	// Amber beads glow from inside where they face the eye; the outer spheres stay black glass.
	colour += vec3(0.9, 0.32, 0.06) * facing * facing * (1.0 - radial) * 0.22 * (0.5 + 0.5 * open);
	colour += environment * mix(0.5, 1.8, fresnel) * (0.3 + 0.7 * open);
	float highlight = pow(max(dot(direction, normalize(keyDirection)), 0.0), 60.0);
	colour += amber * highlight * 3.0 * (0.4 + 0.6 * open);
	colour += cyan * pow(grazing, 4.0) * 0.8 * open;

	gl_FragColor = vec4(colour, 1.0);
}
