// A GLSL program linked from one vertex and one fragment Shader. The shaders stay owned by the
// caller, who deletes them along with the program.
#pragma once

#include "Shader.h"

class Program
{
public:
	// Throws "Invalid vertex or fragment shader." for a null shader and
	// "Program link failed:\n" + the driver log when linking fails.
	Program(Shader* vertex, Shader* fragment);

	// Leaves no program in use.
	~Program();

	Program(const Program&) = delete;
	Program& operator=(const Program&) = delete;

	GLuint id;
	Shader* vertexShader;
	Shader* fragmentShader;
};
