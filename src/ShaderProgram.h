// ShaderProgram: a Program together with the two Shaders it is linked from, built from a vertex
// and a fragment source under Data/ and deleted as one (vertex shader, fragment shader, then the
// program). Every pass and scene holds its programs this way.
#pragma once

#include "Program.h"
#include "Shader.h"

class ShaderProgram
{
public:
	// Throws what Shader and Program throw; whatever was built before the failure is deleted.
	ShaderProgram(const char* vertexPath, const char* fragmentPath);
	~ShaderProgram();

	ShaderProgram(const ShaderProgram&) = delete;
	ShaderProgram& operator=(const ShaderProgram&) = delete;

	const Program& get() const { return *program; }

private:
	Shader* vertexShader = nullptr;
	Shader* fragmentShader = nullptr;
	Program* program = nullptr;
};
