#include "Program.h"

#include <tarn/Exception.h>

Program* Program::newest = nullptr;

Program::Program(Shader* vertex, Shader* fragment)
	: id(0), vertexShader(nullptr), fragmentShader(nullptr)
{
	if (!vertex || !fragment)
		throw Tarn::Exception("Invalid vertex or fragment shader.", "src\\Program", 6);

	vertexShader = vertex;
	fragmentShader = fragment;
	id = glCreateProgram();
	glAttachShader(id, vertex->id);
	glAttachShader(id, fragment->id);
	glLinkProgram(id);

	GLint status = GL_FALSE;
	glGetProgramiv(id, GL_LINK_STATUS, &status);
	if (status != GL_TRUE)
	{
		GLchar log[4096] = {};
		glGetProgramInfoLog(id, sizeof log, nullptr, log);
		// The destructor does not run for a constructor that throws.
		glDeleteProgram(id);
		throw Tarn::Exception("Program link failed:\n" + vertex->quotedPath + " and " + fragment->quotedPath + "\n" + log,
			"src\\Program", 21);
	}
	older = newest;
	if (older)
		older->newer = this;
	newest = this;
}

Program::~Program()
{
	glUseProgram(0);
	glDeleteProgram(id);
	(newer ? newer->older : newest) = older;
	if (older)
		older->newer = newer;
}

const Program* Program::find(GLuint id)
{
	for (const Program* program = newest; program; program = program->older)
		if (program->id == id)
			return program;
	return nullptr;
}

void Program::setUniform(const char* name, float value) const
{
	glUniform1f(glGetUniformLocation(id, name), value);
}

void Program::setUniform(const char* name, int value) const
{
	glUniform1i(glGetUniformLocation(id, name), value);
}

void Program::setUniform(const char* name, float x, float y) const
{
	glUniform2f(glGetUniformLocation(id, name), x, y);
}

void Program::setUniform(const char* name, const Tarn::Vector3& value) const
{
	glUniform3f(glGetUniformLocation(id, name), value.x, value.y, value.z);
}

void Program::setUniform(const char* name, float x, float y, float z) const
{
	glUniform3f(glGetUniformLocation(id, name), x, y, z);
}

// Count 1, no transposition: the matrix is column-major already.
void Program::setUniform(const char* name, const Tarn::Matrix4& value) const
{
	glUniformMatrix4fv(glGetUniformLocation(id, name), 1, GL_FALSE, value.data());
}
