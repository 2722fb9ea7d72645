// Sky box of the sphere scene: the cross-layout sky image, darkened toward a deep blue-black.
#version 130

uniform sampler2D Tex;

in vec2 skyCoord;
in vec3 tint;

void main()
{
	vec3 sky = texture(Tex, skyCoord).rgb;
	// The vertex colour (0.1 grey) sets how much of the image shows through the night blue.
	gl_FragColor = vec4(sky * tint * 8.0 + vec3(0.0, 0.01, 0.04), 1.0);
}
