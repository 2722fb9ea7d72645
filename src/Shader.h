// One compiled GLSL shader object built from a source file under Data/.
#pragma once

#include "Extensions.h"

#include <tarn/String.h>

class Shader
{
public:
	// type is GL_VERTEX_SHADER or GL_FRAGMENT_SHADER. Throws "Invalid shader type specified",
	// the file reader's "Could not open input file" or "Shader compile failed:\n" + the quoted
	// path on the next line + "\n" + the driver log.
	Shader(const Tarn::String& path, GLenum type);

	// Compiles the text of prefixPath (when not empty) followed by the text of path.
	Shader(const Tarn::String& prefixPath, const Tarn::String& path, GLenum type);

	~Shader();

	Shader(const Shader&) = delete;
	Shader& operator=(const Shader&) = delete;

	GLuint id;
	GLenum type;
	// The source file, quoted as error messages show it (the prefix file first, when there is one).
	Tarn::String quotedPath;
};
