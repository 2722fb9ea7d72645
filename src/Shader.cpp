#include "Shader.h"

#include "File.h"

#include <tarn/Exception.h>

namespace
{
	Tarn::String quoted(const Tarn::String& path)
	{
		return "\"" + path + "\"";
	}
}

Shader::Shader(const Tarn::String& path, GLenum type)
	: Shader(Tarn::String(), path, type)
{
}

Shader::Shader(const Tarn::String& prefixPath, const Tarn::String& path, GLenum type)
	: id(0), type(type)
{
	if (type != GL_VERTEX_SHADER && type != GL_FRAGMENT_SHADER)
		throw Tarn::Exception("Invalid shader type specified", "src\\Shader", 26);

	quotedPath = quoted(path);
	Tarn::String sourceText = readTextFile(path);
	if (prefixPath.getLength() > 0)
	{
		sourceText = readTextFile(prefixPath) + sourceText;
		quotedPath = quoted(prefixPath) + " + " + quotedPath;
	}

	id = glCreateShader(type);
	const GLchar* text = sourceText.getText() ? sourceText.getText() : "";
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
		// The first line stays the bare verdict; the file follows, so the box says which one broke.
		throw Tarn::Exception("Shader compile failed:\n" + quotedPath + "\n" + log, "src\\Shader", 43);
	}
}

Shader::~Shader()
{
	glDeleteShader(id);
}
