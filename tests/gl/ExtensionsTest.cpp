// The loader fetches the newer entry points in their fixed order and names the first one the
// driver lacks.
#include "GLTest.h"

#include <SDL.h> // Required for: SDL_GL_GetProcAddress

#include <vector> // Required for: std::vector

namespace
{
	std::vector<std::string> requested;
	std::string missingName;

	// The real lookup, except that it records every name and withholds missingName.
	void* recordingLookup(const char* name)
	{
		requested.push_back(name);
		return missingName == name ? nullptr : SDL_GL_GetProcAddress(name);
	}
}

using ExtensionsTest = GLTest;

TEST_F(ExtensionsTest, FetchesAllEntryPointsInTableOrder)
{
	requested.clear();
	missingName.clear();

	loadExtensions(recordingLookup);

	ASSERT_EQ(requested.size(), 42u);
	EXPECT_EQ(requested[0], "glTexImage3D");
	EXPECT_EQ(requested[15], "glActiveTexture");
	EXPECT_EQ(requested[26], "glGenRenderbuffers");
	EXPECT_EQ(requested[34], "glFramebufferTextureLayer");
	EXPECT_EQ(requested[41], "glClientActiveTexture");
	EXPECT_NE(glTexImage3D, nullptr);
	EXPECT_NE(glClientActiveTexture, nullptr);
}

TEST_F(ExtensionsTest, MissingEntryPointIsNamedAndStopsTheLoad)
{
	requested.clear();
	missingName = "glGenRenderbuffers";

	const Tarn::Exception error = catchException([] { loadExtensions(recordingLookup); });

	EXPECT_EQ(text(error.getMessage()), "Could not load extension procedure: glGenRenderbuffers");
	EXPECT_EQ(text(error.getFile()), "src\\Extensions");
	EXPECT_EQ(error.getLine(), 10);
	ASSERT_EQ(requested.size(), 27u) << "entries after the missing one must not be fetched";
	EXPECT_EQ(requested.back(), "glGenRenderbuffers");
	EXPECT_EQ(glGenRenderbuffers, nullptr);

	missingName = "glTexImage3D";
	requested.clear();
	EXPECT_EQ(text(catchException([] { loadExtensions(recordingLookup); }).getMessage()),
		"Could not load extension procedure: glTexImage3D");
	EXPECT_EQ(requested.size(), 1u);
	missingName.clear();
}
