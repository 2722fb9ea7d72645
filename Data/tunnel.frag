#version 130
// The tunnel's slabs as cool stone in a luminous night: the rock bumped by its normal map and lit
// by the warm glow of the point cloud the camera keeps in view and a faint lamp above the eye,
// sinking with distance into a haze that brightens toward the far end of the tunnel and burns
// amber around the cloud. The slabs' narrow sides and the rims of their broad faces glow cyan.
// Fade dims the whole slab, haze and all, so faded-out stone leaves the black behind it untouched.
uniform float Fade;
uniform sampler2D Tex;       // rock colour
uniform sampler2D TexNormal; // tangent space: red along +s, green along +t, blue out of the face

in vec3 eyePosition;
in vec3 eyeNormal;
in vec2 surfaceCoordinate;
in float edgeFace;

const float repeats = 2.0;                      // the stone repeats twice across a slab
const vec3 lampPosition = vec3(0.0, 8.0, 2.0);  // eye space
const vec3 lampColour = vec3(0.15, 0.3, 0.8);
const vec3 glowPosition = vec3(0.0, 0.0, -20.0); // where the camera keeps the cloud
const vec3 glowColour = vec3(1.0, 0.4, 0.13);
const vec3 shadowColour = vec3(0.05, 0.06, 0.1);
const vec3 nearHaze = vec3(0.02, 0.035, 0.085);   // the night close by
const vec3 farHaze = vec3(0.12, 0.27, 0.48);     // the far end of the tunnel
const vec3 cyan = vec3(0.2, 0.75, 1.0);

vec3 light(vec3 position, vec3 colour, float reach, vec3 normal, vec3 toEye)
{
	vec3 toLight = position - eyePosition;
	float distance = length(toLight);
	toLight /= distance;
	float falloff = 1.0 / (1.0 + (distance / reach) * (distance / reach));
	// Wrapped diffuse: the glow creeps round the slabs' edges instead of ending in black.
	float diffuse = max(dot(normal, toLight) * 0.7 + 0.3, 0.0);
	// Rough stone: a broad, faint sheen.
	float sheen = pow(max(dot(normal, normalize(toLight + toEye)), 0.0), 12.0) * 0.2;
	return colour * falloff * (diffuse + sheen);
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

	// The rock's own brown drained: the colour is the light's.
	vec3 rock = texture(Tex, uv).rgb;
	vec3 stone = vec3(dot(rock, vec3(0.3, 0.59, 0.11))) * 1.2;
	vec3 lit = shadowColour
		+ light(lampPosition, lampColour, 60.0, surface, toEye)
		+ light(glowPosition, glowColour * 3.4, 15.0, surface, toEye);
	// The wall behind the cloud takes its light most: an amber pool around the middle of the view.
	float towardCloud = max(dot(-toEye, normalize(glowPosition)), 0.0);
	lit += glowColour * pow(towardCloud, 14.0) * 1.5;
	vec3 colour = stone * lit;

	// Cyan rims: the narrow sides whole, the broad faces along their borders. The border's width
	// is kept to a pixel or more on screen and fades where it would be thinner, so it never breaks
	// up in motion.
	vec2 border = min(surfaceCoordinate, 1.0 - surfaceCoordinate);
	vec2 pixel = fwidth(surfaceCoordinate);
	vec2 rimWidth = max(vec2(0.012), pixel * 1.5);
	vec2 rims = (1.0 - smoothstep(rimWidth * 0.5, rimWidth, border)) * clamp(0.012 / (pixel * 2.0), 0.0, 1.0);
	float rim = max(edgeFace, max(rims.x, rims.y));
	colour += cyan * rim * 0.35;

	// Haze: thicker and brighter with distance, and amber toward the cloud ahead.
	float depth = length(eyePosition);
	float haze = 1.0 - exp(-depth / 150.0);
	vec3 hazeColour = mix(nearHaze, farHaze, smoothstep(30.0, 420.0, depth));
	hazeColour += glowColour * (pow(towardCloud, 6.0) * 0.15 + pow(towardCloud, 40.0) * 0.4);
	gl_FragColor = vec4(mix(colour, hazeColour, haze) * Fade, 1.0);
}
