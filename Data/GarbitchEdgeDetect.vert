// Full-screen pass: glRecti(-1, -1, 1, 1) covers the viewport; texture coordinates follow.
#version 130

out vec2 uv;

void main()
{
	uv = gl_Vertex.xy * 0.5 + 0.5;
	gl_Position = vec4(gl_Vertex.xy, 0.0, 1.0);
}
