// The OpenGL entry points newer than 1.1, fetched by name once the context exists.
// Include this header (not <GL/glext.h> prototypes) and call glUseProgram and friends as usual:
// each name below is a macro for a process-wide function pointer that loadExtensions() fills.
#pragma once

#ifdef GL_GLEXT_PROTOTYPES
#error "Extensions.h declares the newer entry points itself; do not define GL_GLEXT_PROTOTYPES"
#endif

#include <GL/gl.h>    // Required for: the OpenGL 1.1 interface linked directly
#include <GL/glext.h> // Required for: PFNGL...PROC pointer types and the newer enums

// <GL/gl.h> declares OpenGL 1.3 itself and leaves this one pointer type out of both headers.
typedef void (APIENTRYP PFNCLIENTACTIVETEXTUREPROC)(GLenum texture);

// The 42 entry points in load order: X(pointer type, OpenGL name).
#define HALVORINE_GL_EXTENSIONS(X) \
	X(PFNGLTEXIMAGE3DPROC, glTexImage3D) \
	X(PFNGLCREATESHADERPROC, glCreateShader) \
	X(PFNGLDELETESHADERPROC, glDeleteShader) \
	X(PFNGLSHADERSOURCEPROC, glShaderSource) \
	X(PFNGLCOMPILESHADERPROC, glCompileShader) \
	X(PFNGLATTACHSHADERPROC, glAttachShader) \
	X(PFNGLDETACHSHADERPROC, glDetachShader) \
	X(PFNGLGETSHADERIVPROC, glGetShaderiv) \
	X(PFNGLGETSHADERINFOLOGPROC, glGetShaderInfoLog) \
	X(PFNGLCREATEPROGRAMPROC, glCreateProgram) \
	X(PFNGLDELETEPROGRAMPROC, glDeleteProgram) \
	X(PFNGLLINKPROGRAMPROC, glLinkProgram) \
	X(PFNGLUSEPROGRAMPROC, glUseProgram) \
	X(PFNGLGETPROGRAMIVPROC, glGetProgramiv) \
	X(PFNGLGETPROGRAMINFOLOGPROC, glGetProgramInfoLog) \
	X(PFNGLACTIVETEXTUREPROC, glActiveTexture) \
	X(PFNGLGETUNIFORMLOCATIONPROC, glGetUniformLocation) \
	X(PFNGLUNIFORM1FPROC, glUniform1f) \
	X(PFNGLUNIFORM2FPROC, glUniform2f) \
	X(PFNGLUNIFORM3FPROC, glUniform3f) \
	X(PFNGLUNIFORM4FPROC, glUniform4f) \
	X(PFNGLUNIFORM1IPROC, glUniform1i) \
	X(PFNGLUNIFORM2IPROC, glUniform2i) \
	X(PFNGLUNIFORM3IPROC, glUniform3i) \
	X(PFNGLUNIFORM4IPROC, glUniform4i) \
	X(PFNGLUNIFORMMATRIX4FVPROC, glUniformMatrix4fv) \
	X(PFNGLGENRENDERBUFFERSPROC, glGenRenderbuffers) \
	X(PFNGLDELETERENDERBUFFERSPROC, glDeleteRenderbuffers) \
	X(PFNGLBINDRENDERBUFFERPROC, glBindRenderbuffer) \
	X(PFNGLRENDERBUFFERSTORAGEPROC, glRenderbufferStorage) \
	X(PFNGLGENFRAMEBUFFERSPROC, glGenFramebuffers) \
	X(PFNGLDELETEFRAMEBUFFERSPROC, glDeleteFramebuffers) \
	X(PFNGLBINDFRAMEBUFFERPROC, glBindFramebuffer) \
	X(PFNGLFRAMEBUFFERTEXTURE2DPROC, glFramebufferTexture2D) \
	X(PFNGLFRAMEBUFFERTEXTURELAYERPROC, glFramebufferTextureLayer) \
	X(PFNGLFRAMEBUFFERRENDERBUFFERPROC, glFramebufferRenderbuffer) \
	X(PFNGLDRAWBUFFERSPROC, glDrawBuffers) \
	X(PFNGLGENBUFFERSPROC, glGenBuffers) \
	X(PFNGLDELETEBUFFERSPROC, glDeleteBuffers) \
	X(PFNGLBINDBUFFERPROC, glBindBuffer) \
	X(PFNGLBUFFERDATAPROC, glBufferData) \
	X(PFNCLIENTACTIVETEXTUREPROC, glClientActiveTexture)

// The pointers live under their own symbol names (extension_glUseProgram, ...): <GL/gl.h> already
// declares a few of these names as functions, and libGL exports all of them.
#define HALVORINE_DECLARE_EXTENSION(type, name) extern type extension_##name;
HALVORINE_GL_EXTENSIONS(HALVORINE_DECLARE_EXTENSION)
#undef HALVORINE_DECLARE_EXTENSION

#define glTexImage3D extension_glTexImage3D
#define glCreateShader extension_glCreateShader
#define glDeleteShader extension_glDeleteShader
#define glShaderSource extension_glShaderSource
#define glCompileShader extension_glCompileShader
#define glAttachShader extension_glAttachShader
#define glDetachShader extension_glDetachShader
#define glGetShaderiv extension_glGetShaderiv
#define glGetShaderInfoLog extension_glGetShaderInfoLog
#define glCreateProgram extension_glCreateProgram
#define glDeleteProgram extension_glDeleteProgram
#define glLinkProgram extension_glLinkProgram
#define glUseProgram extension_glUseProgram
#define glGetProgramiv extension_glGetProgramiv
#define glGetProgramInfoLog extension_glGetProgramInfoLog
#define glActiveTexture extension_glActiveTexture
#define glGetUniformLocation extension_glGetUniformLocation
#define glUniform1f extension_glUniform1f
#define glUniform2f extension_glUniform2f
#define glUniform3f extension_glUniform3f
#define glUniform4f extension_glUniform4f
#define glUniform1i extension_glUniform1i
#define glUniform2i extension_glUniform2i
#define glUniform3i extension_glUniform3i
#define glUniform4i extension_glUniform4i
#define glUniformMatrix4fv extension_glUniformMatrix4fv
#define glGenRenderbuffers extension_glGenRenderbuffers
#define glDeleteRenderbuffers extension_glDeleteRenderbuffers
#define glBindRenderbuffer extension_glBindRenderbuffer
#define glRenderbufferStorage extension_glRenderbufferStorage
#define glGenFramebuffers extension_glGenFramebuffers
#define glDeleteFramebuffers extension_glDeleteFramebuffers
#define glBindFramebuffer extension_glBindFramebuffer
#define glFramebufferTexture2D extension_glFramebufferTexture2D
#define glFramebufferTextureLayer extension_glFramebufferTextureLayer
#define glFramebufferRenderbuffer extension_glFramebufferRenderbuffer
#define glDrawBuffers extension_glDrawBuffers
#define glGenBuffers extension_glGenBuffers
#define glDeleteBuffers extension_glDeleteBuffers
#define glBindBuffer extension_glBindBuffer
#define glBufferData extension_glBufferData
#define glClientActiveTexture extension_glClientActiveTexture

// Looks an entry point up by name; returns null when the driver does not offer it.
typedef void* (*ExtensionLookup)(const char* name);

// Fetches the 42 entry points in table order through SDL_GL_GetProcAddress. Needs the window's
// context current. Throws "Could not load extension procedure: NAME" at the first one missing;
// the entries after it are left as they were.
void loadExtensions();

// The same, through the given lookup (a driver that lacks entry points can be simulated).
void loadExtensions(ExtensionLookup lookup);

// The "major.minor" a GL_VERSION string begins with ("3.0 Mesa 22.3.6" is 3.0); 0.0 when it
// begins with something else or is null.
struct GLVersion
{
	int major;
	int minor;

	bool atLeast(int wantedMajor, int wantedMinor) const
	{
		return major > wantedMajor || (major == wantedMajor && minor >= wantedMinor);
	}
};
GLVersion parseGLVersion(const char* text);

// Whether the current context filters across cube-map faces: OpenGL 3.2, or the
// ARB_seamless_cube_map extension. A 3.0 driver without either rejects the enable.
bool offersSeamlessCubeMaps();
