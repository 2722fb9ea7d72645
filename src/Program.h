// A GLSL program linked from one vertex and one fragment Shader. The shaders stay owned by the
// caller, who deletes them along with the program.
#pragma once

#include "Shader.h"

#include <tarn/Math.h>

class Program
{
public:
	// Throws "Invalid vertex or fragment shader." for a null shader and
	// "Program link failed:\n" + both shaders' quoted files on the next line + "\n" + the driver
	// log when linking fails.
	Program(Shader* vertex, Shader* fragment);

	// Leaves no program in use.
	~Program();

	Program(const Program&) = delete;
	Program& operator=(const Program&) = delete;

	// Uniform setters for the program in use. Each looks the location up by name right before its
	// glUniform* call, never cached; a name the linked program lacks is silently skipped.
	void setUniform(const char* name, float value) const;
	void setUniform(const char* name, int value) const;
	void setUniform(const char* name, float x, float y) const;
	void setUniform(const char* name, const Tarn::Vector3& value) const;
	void setUniform(const char* name, float x, float y, float z) const;
	void setUniform(const char* name, const Tarn::Matrix4& value) const;

	// The live program with this id, or null: lets a profiler name the pass that draws.
	static const Program* find(GLuint id);

	GLuint id;
	Shader* vertexShader;
	Shader* fragmentShader;

private:
	// Every linked program not yet deleted, newest first.
	static Program* newest;
	Program* older = nullptr;
	Program* newer = nullptr;
};
