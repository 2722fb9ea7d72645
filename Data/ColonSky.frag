// Sky box of the column scene: grey clouds tinted by the vertex colour ("Colon Skybox Color"
// times "Colon Skybox Intensity"); a black colour gives a black sky.
#version 130

uniform sampler2D Tex;

in vec2 skyCoord;
in vec3 tint;

void main()
{
	vec3 clouds = texture(Tex, skyCoord).rgb;
	gl_FragColor = vec4(clouds * tint * 3.0, 1.0);
}
