// A shader saved in the sources reaches the run directory and the rebuilt program; one that does
// not compile leaves the last good copy and program drawing, with the file named in the message.
#include "../gl/GLTest.h"

#include "ShaderProgram.h"
#include "ShaderReloader.h"

#include <filesystem>
#include <fstream>
#include <memory>

namespace
{
	const char* const vertexText = "#version 130\nvoid main() { gl_Position = gl_Vertex; }\n";

	std::string fragmentText(const char* colour)
	{
		return std::string("#version 130\nout vec4 colour;\nvoid main() { colour = ") + colour + "; }\n";
	}

	// The red channel of the middle pixel after a full-screen quad with the program.
	int drawnRed(const ShaderProgram& program)
	{
		glClear(GL_COLOR_BUFFER_BIT);
		glUseProgram(program.get().id);
		glRecti(-1, -1, 1, 1);
		glUseProgram(0);
		unsigned char pixel[4] = {};
		glReadPixels(32, 32, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
		return pixel[0];
	}
}

class ShaderReloaderTest : public GLTest
{
};

TEST_F(ShaderReloaderTest, BrokenThenFixedShaderKeepsTheLastGoodProgram)
{
	const std::string folder = makeTestFolder();
	const std::string sources = folder + "/sources";
	const std::string run = folder + "/run";
	std::filesystem::create_directories(sources);
	std::filesystem::create_directories(run);
	writeTextFile(run + "/Flat.vert", vertexText);
	writeTextFile(run + "/Flat.frag", fragmentText("vec4(1.0, 0.0, 0.0, 1.0)"));

	std::unique_ptr<ShaderProgram> program;
	auto rebuild = [&] {
		program.reset();
		program.reset(new ShaderProgram((run + "/Flat.vert").c_str(), (run + "/Flat.frag").c_str()));
	};
	rebuild();
	ShaderReloader reloader(sources, run, rebuild);
	ASSERT_EQ(drawnRed(*program), 255);

	struct Edit
	{
		std::string text;
		bool builds;
		int red; // what draws afterwards
	};
	const Edit edits[] = {
		{ fragmentText("vec4(0.0, 0.0, 0.0, 1.0) +"), false, 255 },
		{ fragmentText("vec4(0.5, 0.0, 0.0, 1.0)"), true, 128 },
		{ fragmentText("undeclared"), false, 128 },
		{ fragmentText("vec4(0.0, 1.0, 0.0, 1.0)"), true, 0 },
	};
	for (const Edit& edit : edits)
	{
		writeTextFile(sources + "/Flat.frag", edit.text);
		std::string error;
		EXPECT_EQ(reloader.reload({ "Flat.frag" }, error), edit.builds) << edit.text;
		if (!edit.builds)
		{
			EXPECT_EQ(error.rfind("Data/Flat.frag: Shader compile failed:", 0), 0u) << error;
		}
		ASSERT_TRUE(program) << "the show always has its programs";
		EXPECT_NEAR(drawnRed(*program), edit.red, 1) << edit.text;
		EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
	}
}
