// Sphere composite: glossy spheres over the sky from the geometry and occlusion targets,
// mirroring the environment cube, lit by a warm key light and rimmed by the light behind them.
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
	colour += environment * mix(0.7, 2.0, fresnel) * (0.35 + 0.65 * open);
	float highlight = pow(max(dot(direction, normalize(keyDirection)), 0.0), 60.0);
	colour += amber * highlight * 3.0 * (0.4 + 0.6 * open);
	// Back light: a rim that is warm where the sphere's edge turns to the bright sky, cool below.
	vec3 rimColour = mix(cyan, vec3(1.0, 0.75, 0.45), smoothstep(0.3, 0.8, sky));
	colour += rimColour * pow(grazing, 3.0) * 1.3 * open;

	gl_FragColor = vec4(colour, 1.0);
}
