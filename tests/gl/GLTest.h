// Fixture for tests that need OpenGL: a small window with its context on SDL's offscreen driver
// (EGL on Mesa llvmpipe), so the tests run without a display. Each test gets a fresh context
// with the extension entry points loaded.
#pragma once

#include "Extensions.h"
#include "GLWindow.h"

#include <tarn/Exception.h>

#include <gtest/gtest.h>

#include <string>

class GLTest : public ::testing::Test
{
protected:
	void SetUp() override;
	void TearDown() override;

	// A fresh, empty folder for this test's files, relative to the working directory.
	std::string makeTestFolder();

	GLWindow window;
};

// Runs statement, expects a Tarn::Exception and returns it (an empty one when none came).
template <typename Statement>
Tarn::Exception catchException(Statement statement)
{
	try
	{
		statement();
	}
	catch (const Tarn::Exception& exception)
	{
		return exception;
	}
	ADD_FAILURE() << "no Tarn::Exception was thrown";
	return Tarn::Exception("", "", 0);
}

// The text of a Tarn::String, "" for a null one, for comparisons.
std::string text(const Tarn::String& string);

// Writes a text file, creating nothing but the file itself.
void writeTextFile(const std::string& path, const std::string& text);
