#include "Shader.h"

#include "File.h"

#include <tarn/Exception.h>

Shader::Shader(const Tarn::String& path, GLenum type)
	: Shader(Tarn::String(), path, type)
{
}

Shader::Shader(const Tarn::String& prefixPath, const Tarn::String& path, GLenum type)
	: id(0), type(type)
{
	if (type != GL_VERTEX_SHADER && type != GL_FRAGMENT_SHADER)
		throw Tarn::Exception("Invalid shader type specified", "src\\Shader", 26);

	Tarn::String source = readTextFile(path);
	if (prefixPath.getLength() > 0)
		source = readTextFile(prefixPath) + source;

	id = glCreateShader(type);
	const GLchar* text = source.getText() ? source.getText() : "";
	glShaderSource(id, 1, &text, nullptr);
	glCompileShader(id);

	GLint status = GL_FALSE;
	glGetShaderiv(id, GL_COMPILE_STATUS, &status);
	if (status != GL_TRUE)
	{
		GLchar log[4096] = {};
		glGetShaderInfoLog(id, sizeof log, nullptr, log);
		// The destructor does not run for a constructor that throws.
		glDeleteShader(id);
		throw Tarn::Exception(Tarn::String("Shader compile failed:\n") + log, "src\\Shader", 43);
	}
}

Shader::~Shader()
{
	glDeleteShader(id);
}
