#include "GLTest.h"

#include <cstdlib>    // Required for: setenv
#include <filesystem> // Required for: std::filesystem::create_directories, remove_all
#include <fstream>    // Required for: std::ofstream

void GLTest::SetUp()
{
	setenv("SDL_VIDEODRIVER", "offscreen", 1);
	window.create("GL test", false, 64, 64, 0);
	loadExtensions();
}

void GLTest::TearDown()
{
	window.close();
}

std::string GLTest::makeTestFolder()
{
	const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
	const std::string folder = std::string("test-output/gl/") + test->test_suite_name() + "." + test->name();
	std::filesystem::remove_all(folder);
	std::filesystem::create_directories(folder);
	return folder;
}

std::string text(const Tarn::String& string)
{
	return string.getText() ? string.getText() : "";
}

void writeTextFile(const std::string& path, const std::string& text)
{
	std::ofstream file(path, std::ios::binary);
	file << text;
}
