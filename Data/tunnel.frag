#version 130
// The tunnel's slabs as rough stone in the dark: the rock colour bumped by its normal map, lit by
// a lamp just above the eye and by the warm glow of the point cloud the camera keeps in view,
// sinking into a deep blue-black night with distance; Fade dims the whole slab, night and all,
// so faded-out stone leaves the black behind it untouched.
uniform float Fade;
uniform sampler2D Tex;       // rock colour
uniform sampler2D TexNormal; // tangent space: red along +s, green along +t, blue out of the face

in vec3 eyePosition;
in vec3 eyeNormal;
in vec2 surfaceCoordinate;

const float repeats = 2.0;                      // the stone repeats twice across a slab
const vec3 lampPosition = vec3(0.0, 8.0, 2.0);  // eye space
const vec3 lampColour = vec3(0.75, 0.8, 0.9);
const vec3 glowPosition = vec3(0.0, 0.0, -20.0); // where the camera keeps the cloud
const vec3 glowColour = vec3(1.0, 0.45, 0.2);
const vec3 shadowColour = vec3(0.03, 0.04, 0.07);
const vec3 night = vec3(0.012, 0.018, 0.04);

vec3 light(vec3 position, vec3 colour, float reach, vec3 normal, vec3 toEye)
{
	vec3 toLight = position - eyePosition;
	float distance = length(toLight);
	toLight /= distance;
	float falloff = 1.0 / (1.0 + (distance / reach) * (distance / reach));
	float diffuse = max(dot(normal, toLight), 0.0);
	// Rough stone: a broad, faint sheen.
	float sheen = pow(max(dot(normal, normalize(toLight + toEye)), 0.0), 12.0) * 0.12;
	return colour * falloff * diffuse + colour * falloff * sheen;
}

void main()
{
	vec2 uv = surfaceCoordinate * repeats;
	vec3 toEye = normalize(-eyePosition);

	// The faces across z carry normals pointing into the slab: light every face from the side
	// the eye sees.
	vec3 normal = normalize(eyeNormal);
	if (dot(normal, toEye) < 0.0)
		normal = -normal;

	// The box has no tangents: the frame follows the texture coordinates across the face, found
	// from their screen-space derivatives.
	vec3 dpx = dFdx(eyePosition);
	vec3 dpy = dFdy(eyePosition);
	vec2 duvx = dFdx(uv);
	vec2 duvy = dFdy(uv);
	vec3 acrossY = cross(dpy, normal);
	vec3 acrossX = cross(normal, dpx);
	vec3 tangent = acrossY * duvx.x + acrossX * duvy.x;
	vec3 bitangent = acrossY * duvx.y + acrossX * duvy.y;
	float scale = inversesqrt(max(max(dot(tangent, tangent), dot(bitangent, bitangent)), 1e-20));
	vec3 bump = texture(TexNormal, uv).xyz * 2.0 - 1.0;
	vec3 surface = normalize(mat3(tangent * scale, bitangent * scale, normal) * bump);

	vec3 stone = texture(Tex, uv).rgb;
	vec3 lit = shadowColour
		+ light(lampPosition, lampColour * 1.6, 55.0, surface, toEye)
		+ light(glowPosition, glowColour * 1.6, 35.0, surface, toEye);
	float depth = length(eyePosition);
	float visibility = exp(-depth * depth / (160.0 * 160.0));
	gl_FragColor = vec4(mix(night, stone * lit, visibility) * Fade, 1.0);
}
