#version 130
// The tunnel's slabs: positions, normals and texture coordinates come through the fixed-function
// channels; lighting happens per fragment in eye space.
out vec3 eyePosition;
out vec3 eyeNormal;
out vec2 surfaceCoordinate;
out float edgeFace; // 1 on the slab's four narrow sides, 0 on its two broad faces

void main()
{
	eyePosition = (gl_ModelViewMatrix * gl_Vertex).xyz;
	eyeNormal = gl_NormalMatrix * gl_Normal;
	surfaceCoordinate = gl_MultiTexCoord0.xy;
	// The broad faces are the box's faces across y (its thin axis).
	edgeFace = 1.0 - abs(gl_Normal.y);
	gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
}
