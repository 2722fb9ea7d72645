#include "ShaderProgram.h"

ShaderProgram::ShaderProgram(const char* vertexPath, const char* fragmentPath)
{
	// The destructor does not run for a constructor that throws.
	try
	{
		vertexShader = new Shader(vertexPath, GL_VERTEX_SHADER);
		fragmentShader = new Shader(fragmentPath, GL_FRAGMENT_SHADER);
		program = new Program(vertexShader, fragmentShader);
	}
	catch (...)
	{
		delete vertexShader;
		delete fragmentShader;
		throw;
	}
}

ShaderProgram::~ShaderProgram()
{
	delete vertexShader;
	delete fragmentShader;
	delete program;
}
