// Shader and Program errors reach the viewer with the driver's own log; objects clean up after
// themselves and leave no program bound.
#include "GLTest.h"

#include "Program.h"
#include "Shader.h"
#include "ShaderProgram.h"

#include <SDL.h> // Required for: SDL_GL_GetProcAddress

#include <filesystem> // Required for: std::filesystem::current_path
#include <functional> // Required for: std::function

namespace
{
	const char* const passVertex =
		"#version 130\n"
		"void main() { gl_Position = gl_Vertex; }\n";

	const char* const whiteFragment =
		"#version 130\n"
		"void main() { gl_FragColor = vec4(1.0); }\n";

	// Compiles, but nothing defines colour(): only linking can notice.
	const char* const unresolvedFragment =
		"#version 130\n"
		"vec4 colour();\n"
		"void main() { gl_FragColor = colour(); }\n";

	// The path as Shader takes it, once text is written there.
	Tarn::String writtenTo(const std::string& path, const char* text)
	{
		writeTextFile(path, text);
		return Tarn::String(path.c_str());
	}

	// pass.vert and a fragment shader of the given name and source, written to folder and compiled.
	struct ShaderPair
	{
		ShaderPair(const std::string& folder, const char* fragmentName, const char* fragmentSource)
			: vertex(writtenTo(folder + "/pass.vert", passVertex), GL_VERTEX_SHADER),
			  fragment(writtenTo(folder + "/" + fragmentName, fragmentSource), GL_FRAGMENT_SHADER)
		{
		}

		Shader vertex;
		Shader fragment;
	};

	// The message's lines: the verdict, the files, then the driver log.
	std::string line(const std::string& message, int index)
	{
		size_t start = 0;
		for (int i = 0; i < index && start != std::string::npos; ++i)
		{
			start = message.find('\n', start);
			start = start == std::string::npos ? start : start + 1;
		}
		return start == std::string::npos ? "" : message.substr(start, message.find('\n', start) - start);
	}

	std::string afterSecondLine(const std::string& message)
	{
		const size_t lineEnd = message.find('\n', message.find('\n') + 1);
		return lineEnd == std::string::npos ? "" : message.substr(lineEnd + 1);
	}
}

using ShaderTest = GLTest;
using ProgramTest = GLTest;

TEST_F(ShaderTest, CompileFailureNamesTheFileAndShowsTheDriverLog)
{
	const std::string folder = makeTestFolder();
	writeTextFile(folder + "/broken.frag", "#version 130\nvoid main() { gl_FragColor = undefinedColour; }\n");

	const Tarn::Exception error = catchException([&] { Shader(Tarn::String((folder + "/broken.frag").c_str()), GL_FRAGMENT_SHADER); });

	const std::string message = text(error.getMessage());
	EXPECT_EQ(line(message, 0), "Shader compile failed:");
	EXPECT_EQ(line(message, 1), "\"" + folder + "/broken.frag\"");
	EXPECT_NE(afterSecondLine(message).find("undefinedColour"), std::string::npos) << "driver log missing: " << message;
	EXPECT_EQ(text(error.getFile()), "src\\Shader");
	EXPECT_EQ(error.getLine(), 43);
}

TEST_F(ShaderTest, EmptySourceGoesToTheCompiler)
{
	const std::string folder = makeTestFolder();
	writeTextFile(folder + "/empty.vert", "");

	const Tarn::Exception error = catchException([&] { Shader(Tarn::String((folder + "/empty.vert").c_str()), GL_VERTEX_SHADER); });

	EXPECT_EQ(text(error.getMessage()).rfind("Shader compile failed:\n", 0), 0u) << text(error.getMessage());
}

TEST_F(ShaderTest, MissingSourceNamesTheFile)
{
	// Run from an empty folder: the build's own Data/ may hold a real Blit.vert.
	const std::filesystem::path previous = std::filesystem::current_path();
	std::filesystem::current_path(makeTestFolder());

	const Tarn::Exception error = catchException([] { Shader("Data/Blit.vert", GL_VERTEX_SHADER); });

	std::filesystem::current_path(previous);
	EXPECT_EQ(text(error.getMessage()), "Could not open input file: \"Data/Blit.vert\"");
}

TEST_F(ShaderTest, InvalidTypeIsRejectedBeforeTheFileIsRead)
{
	const Tarn::Exception error = catchException([] { Shader("no/such/file.geom", GL_GEOMETRY_SHADER); });

	EXPECT_EQ(text(error.getMessage()), "Invalid shader type specified");
	EXPECT_EQ(text(error.getFile()), "src\\Shader");
	EXPECT_EQ(error.getLine(), 26);
}

TEST_F(ShaderTest, PrefixTextComesBeforeTheSource)
{
	const std::string folder = makeTestFolder();
	writeTextFile(folder + "/prefix.glsl", "#version 130\n#define COLOUR vec4(1.0, 0.5, 0.25, 1.0)\n");
	writeTextFile(folder + "/body.frag", "void main() { gl_FragColor = COLOUR; }\n");
	const Tarn::String body((folder + "/body.frag").c_str());

	Shader shader(Tarn::String((folder + "/prefix.glsl").c_str()), body, GL_FRAGMENT_SHADER);
	EXPECT_NE(shader.id, 0u);
	EXPECT_EQ(shader.type, static_cast<GLenum>(GL_FRAGMENT_SHADER));

	// Without the prefix COLOUR is undefined.
	const Tarn::Exception error = catchException([&] { Shader(body, GL_FRAGMENT_SHADER); });
	EXPECT_NE(text(error.getMessage()).find("COLOUR"), std::string::npos) << text(error.getMessage());

	// With a broken prefix both files are named.
	writeTextFile(folder + "/broken.glsl", "#version 130\nbroken\n");
	const Tarn::Exception prefixError = catchException([&] { Shader(Tarn::String((folder + "/broken.glsl").c_str()), body, GL_FRAGMENT_SHADER); });
	EXPECT_EQ(line(text(prefixError.getMessage()), 1), "\"" + folder + "/broken.glsl\" + \"" + folder + "/body.frag\"");
}

TEST_F(ProgramTest, LinkFailureNamesBothFilesAndShowsTheDriverLog)
{
	const std::string folder = makeTestFolder();
	ShaderPair shaders(folder, "unresolved.frag", unresolvedFragment);

	const Tarn::Exception error = catchException([&] { Program(&shaders.vertex, &shaders.fragment); });

	const std::string message = text(error.getMessage());
	EXPECT_EQ(line(message, 0), "Program link failed:");
	EXPECT_EQ(line(message, 1), "\"" + folder + "/pass.vert\" and \"" + folder + "/unresolved.frag\"");
	EXPECT_NE(afterSecondLine(message).find("colour"), std::string::npos) << "driver log missing: " << message;
	EXPECT_EQ(text(error.getFile()), "src\\Program");
	EXPECT_EQ(error.getLine(), 21);
}

TEST_F(ProgramTest, NullShaderIsRejected)
{
	const std::string folder = makeTestFolder();
	writeTextFile(folder + "/pass.vert", passVertex);
	Shader vertex(Tarn::String((folder + "/pass.vert").c_str()), GL_VERTEX_SHADER);

	for (const auto& build : { std::function<void()>([&] { Program(&vertex, nullptr); }),
			 std::function<void()>([&] { Program(nullptr, &vertex); }) })
	{
		const Tarn::Exception error = catchException(build);
		EXPECT_EQ(text(error.getMessage()), "Invalid vertex or fragment shader.");
		EXPECT_EQ(text(error.getFile()), "src\\Program");
		EXPECT_EQ(error.getLine(), 6);
	}
}

TEST_F(ProgramTest, LinkedProgramDrawsAndDeletingItLeavesNoProgramInUse)
{
	ShaderPair shaders(makeTestFolder(), "white.frag", whiteFragment);
	Program* program = new Program(&shaders.vertex, &shaders.fragment);
	EXPECT_EQ(program->vertexShader, &shaders.vertex);
	EXPECT_EQ(program->fragmentShader, &shaders.fragment);

	glViewport(0, 0, 64, 64);
	glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
	glClear(GL_COLOR_BUFFER_BIT);
	glUseProgram(program->id);
	glRecti(-1, -1, 1, 1);
	unsigned char pixel[4] = {};
	glReadPixels(32, 32, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
	EXPECT_EQ(pixel[0], 255);
	EXPECT_EQ(pixel[1], 255);

	delete program;
	GLint current = -1;
	glGetIntegerv(GL_CURRENT_PROGRAM, &current);
	EXPECT_EQ(current, 0);
	EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ProgramTest, FindNamesEveryLiveProgramWhicheverIsDeletedFirst)
{
	ShaderPair shaders(makeTestFolder(), "white.frag", whiteFragment);
	// Deleting the middle one, then the newest, then the oldest unlinks each position once.
	for (int first : { 1, 2, 0 })
	{
		Program* programs[3] = { new Program(&shaders.vertex, &shaders.fragment),
			new Program(&shaders.vertex, &shaders.fragment), new Program(&shaders.vertex, &shaders.fragment) };
		const GLuint ids[3] = { programs[0]->id, programs[1]->id, programs[2]->id };
		for (int deleted : { first, (first + 1) % 3, (first + 2) % 3 })
		{
			delete programs[deleted];
			programs[deleted] = nullptr;
			for (int i = 0; i < 3; i++)
				EXPECT_EQ(Program::find(ids[i]), programs[i]) << "program " << i << " after deleting " << deleted;
		}
	}
}

TEST_F(ProgramTest, ShaderProgramBuildsFromPathsAndItsSettersReachEveryUniformKind)
{
	const std::string folder = makeTestFolder();
	writeTextFile(folder + "/pass.vert", passVertex);
	writeTextFile(folder + "/uniforms.frag",
		"#version 130\n"
		"uniform float F; uniform int I; uniform vec2 V2; uniform vec3 V3; uniform mat4 M;\n"
		"void main() { gl_FragColor = vec4(F + float(I) + V2.x + V3.y + M[3][0]); }\n");
	ShaderProgram shading((folder + "/pass.vert").c_str(), (folder + "/uniforms.frag").c_str());
	const Program& program = shading.get();
	glUseProgram(program.id);

	Tarn::Matrix4 matrix;
	matrix.identity();
	matrix[12] = 5.0f;
	program.setUniform("F", 1.5f);
	program.setUniform("I", 3);
	program.setUniform("V2", 2.0f, 4.0f);
	program.setUniform("V3", 0.0f, 6.0f, 0.0f);
	program.setUniform("M", matrix);
	program.setUniform("Missing", 1.0f);
	EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "each setter calls the glUniform that fits its uniform";

	const struct
	{
		const char* name;
		int component;
		float expected;
	} reads[] = { { "F", 0, 1.5f }, { "V2", 1, 4.0f }, { "V3", 1, 6.0f }, { "M", 12, 5.0f } };
	auto getFloats = reinterpret_cast<PFNGLGETUNIFORMFVPROC>(SDL_GL_GetProcAddress("glGetUniformfv"));
	auto getInts = reinterpret_cast<PFNGLGETUNIFORMIVPROC>(SDL_GL_GetProcAddress("glGetUniformiv"));
	for (const auto& read : reads)
	{
		GLfloat values[16] = {};
		getFloats(program.id, glGetUniformLocation(program.id, read.name), values);
		EXPECT_EQ(values[read.component], read.expected) << read.name;
	}
	GLint integer = 0;
	getInts(program.id, glGetUniformLocation(program.id, "I"), &integer);
	EXPECT_EQ(integer, 3);
	glUseProgram(0);
}
